#pragma once

#include "app/RatePage.h"

namespace quillan {

// The Standard letter-size per-piece rates: entry discount by rate level, and the nonmachinable
// surcharge.
class RateDialog1 : public RatePage {
public:
    explicit RateDialog1(AppContext& ctx);
};

} // namespace quillan
