#include "reports/StatementPage.h"

namespace quillan {

DeviceRect formImageRect(const StatementScale& s) {
    constexpr int inset = 42;
    // The offset moves the picture as it moves the texts written on it; it does not shrink it.
    return {s.scale.dotsX(1) - s.offset.x + inset, s.scale.dotsY(1) - s.offset.y + inset,
            s.scale.dotsX(577) + inset, s.scale.dotsY(751) + inset};
}

void DrawFormImage(platform::Canvas& canvas, int x, int y, int width, int height,
                   const platform::Bitmap& image) {
    canvas.stretchImage(image, x, y, width, height);
}

} // namespace quillan
