#pragma once

#include <QRect>
#include <QSize>

namespace platform {

// The least width a help page can still be read at.
inline constexpr int LeastHelpWidth = 200;

// Where the help window goes so that it hides as little as it can of the window it explains
// (its frame, on the screen's available area): beside it on the side with room for the
// wanted width, the right one first; with room on neither side, at the screen's edge on the
// side with more room, as wide as what is left there, but never narrower than the least size
// the help window can take (its own least, and never under the width a page can be read at),
// so that all of it is on the screen. Its top is level with the window's, as far as its
// height lets it stay on the screen.
QRect helpWindowPlace(const QRect& beside, const QRect& screen, const QSize& wanted,
                      const QSize& least);

} // namespace platform
