#pragma once

#include "app/RatePage.h"

namespace quillan {

// The First-Class automation letter and postcard rates: weight by rate level.
class RateDialogF : public RatePage {
public:
    explicit RateDialogF(AppContext& ctx);
};

} // namespace quillan
