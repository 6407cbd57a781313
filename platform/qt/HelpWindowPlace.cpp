#include "platform/qt/HelpWindowPlace.h"

#include <algorithm>

namespace platform {

namespace {

// The room kept between the help window and the window it explains.
constexpr int Gap = 8;

} // namespace

QRect helpWindowPlace(const QRect& beside, const QRect& screen, const QSize& wanted,
                      const QSize& least) {
    const int leastWidth = std::min(screen.width(), std::max(least.width(), LeastHelpWidth));
    int roomRight = screen.right() - beside.right() - Gap;
    int roomLeft = beside.left() - screen.left() - Gap;
    int width = std::clamp(wanted.width(), leastWidth, screen.width());
    int x;
    if (roomRight >= width) {
        x = beside.right() + 1 + Gap;
    } else if (roomLeft >= width) {
        x = beside.left() - Gap - width;
    } else {
        width = std::max({roomRight, roomLeft, leastWidth});
        x = roomRight >= roomLeft ? screen.right() + 1 - width : screen.left();
    }
    int height =
        std::clamp(wanted.height(), std::min(least.height(), screen.height()), screen.height());
    int y = std::clamp(beside.top(), screen.top(), screen.bottom() + 1 - height);
    return QRect(x, y, width, height);
}

} // namespace platform
