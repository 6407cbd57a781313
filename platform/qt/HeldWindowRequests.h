#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>

namespace platform {

class QtFormWindow;

// While a message box or dialog waits for its answer, the toolkit drops without a word what
// a person asks of the windows it holds: the window manager's close request, and every key
// (the menu shortcuts among them). On an X server this catches those two before they are
// dropped and tells the held form (Form::userRequestWhileHeld), which may take them; what it
// does not take goes on as before; a key the focused widget uses itself (a text box's) is
// left to it. Elsewhere (offscreen, Wayland) it sees nothing.
class HeldWindowRequests : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool closeRequested(uint32_t window, uint32_t protocol, uint32_t request);
    bool keyPressed(uint8_t keycode, uint16_t state);
    // The form window the X window belongs to, while a window in front of it holds it.
    static QtFormWindow* heldWindow(uint32_t window);
    // Whether the names of the window manager's close request are known to the X server.
    bool knowsCloseRequests();

    uint32_t wmProtocols_ = 0;
    uint32_t wmDeleteWindow_ = 0;
};

} // namespace platform
