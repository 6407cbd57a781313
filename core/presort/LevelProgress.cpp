#include "core/presort/LevelProgress.h"

#include <algorithm>

namespace quillan {

LevelProgress::LevelProgress(PresortContext& ctx, int64_t total) : ctx_(ctx), total_(total) {
    ctx_.progress.showIcons(shown_);
}

void LevelProgress::passed(int64_t position) {
    if (shown_ == 0)
        return;
    int64_t steps = total_ > 0 ? position * 5 / total_ : 5;
    showDownTo(5 - static_cast<int>(std::min<int64_t>(steps, 5)));
}

void LevelProgress::finish() {
    showDownTo(0);
}

void LevelProgress::showDownTo(int icons) {
    while (shown_ > icons)
        ctx_.progress.showIcons(--shown_);
}

} // namespace quillan
