#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>

namespace quillan {

// The tray-and-sack countdown of a level: five icons at its start, one less as each fifth
// of its first scan is passed, none at its end.
class LevelProgress {
public:
    // Shows five icons; `total` is what the first scan runs over.
    LevelProgress(PresortContext& ctx, int64_t total);
    // The scan has reached `position` of `total`.
    void passed(int64_t position);
    // Counts down to no icon if the scan has not yet.
    void finish();

private:
    void showDownTo(int icons);

    PresortContext& ctx_;
    int64_t total_;
    int shown_ = 5;
};

} // namespace quillan
