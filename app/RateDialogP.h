#pragma once

#include "app/RatePage.h"

namespace quillan {

// The Periodicals rates of one block: the advertising pound rates by zone, the piece rates
// by level, the nonadvertising portion and the SCF and ADC discounts. The In-County block
// has one pound rate for all zones and neither nonadvertising portion nor discounts.
class RateDialogP : public RatePage {
public:
    explicit RateDialogP(AppContext& ctx);

    // Shows only what the In-County block has, or everything again.
    void setInCounty(bool inCounty);

private:
    static constexpr int ZoneCount = 9;
};

} // namespace quillan
