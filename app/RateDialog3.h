#pragma once

#include "app/RatePage.h"

namespace quillan {

// The Standard piece/pound rates: the per-piece parts by rate level and the per-pound parts by
// entry discount.
class RateDialog3 : public RatePage {
public:
    explicit RateDialog3(AppContext& ctx);
};

} // namespace quillan
