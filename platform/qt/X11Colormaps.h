#pragma once

class QApplication;

namespace platform {

// On an X server the toolkit gives every window a colormap of its own. Screen grabbers that
// put the screen together window by window (xwd and its kin) then show a window lying wholly
// over another of ours as a black rectangle, though the screen itself shows it well: a
// message box over its dialog, a dialog over the one that opened it. Our windows of the
// screen's own visual take the screen's own colormap instead, as other programs' windows
// do. Elsewhere (offscreen, Wayland) this does nothing.
void useScreenColormaps(QApplication& app);

} // namespace platform
