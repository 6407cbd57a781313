#include "core/presort/LevelProgress.h"

#include "core/ProgressPicture.h"
#include "platform/ui/Form.h"

#include <algorithm>

namespace quillan {

LevelProgress::LevelProgress(AppContext& ctx, int64_t total) : ctx_(ctx), total_(total) {
    ShowProgressIcons(ctx_, shown_);
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
        ShowProgressIcons(ctx_, --shown_);
}

void showProgressCaption(AppContext& ctx, const char* control, const std::string& caption) {
    if (!ctx.mainWindow)
        return;
    if (platform::Control* label = ctx.mainWindow->find(control)) {
        label->setCaption(caption);
        label->setVisible(true);
    }
}

} // namespace quillan
