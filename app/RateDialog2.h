#pragma once

#include "app/RatePage.h"

namespace quillan {

// The Standard nonletter-size per-piece rates: entry discount by rate level.
class RateDialog2 : public RatePage {
public:
    explicit RateDialog2(AppContext& ctx);
};

} // namespace quillan
