#include "platform/qt/HeldWindowRequests.h"

#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <xcb/xcb.h>

namespace platform {

namespace {

xcb_connection_t* connection() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The key as the menus write their shortcuts: a letter with its modifiers. Nothing for any
// other key.
std::optional<QKeySequence> letterKey(uint8_t keycode, uint16_t state) {
    xcb_connection_t* c = connection();
    if (!c)
        return std::nullopt;
    xcb_get_keyboard_mapping_reply_t* mapping =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, keycode, 1), nullptr);
    if (!mapping)
        return std::nullopt;
    xcb_keysym_t symbol =
        mapping->keysyms_per_keycode > 0 ? xcb_get_keyboard_mapping_keysyms(mapping)[0] : 0;
    std::free(mapping);
    if (symbol < 'a' || symbol > 'z')
        return std::nullopt;
    Qt::KeyboardModifiers modifiers;
    if (state & XCB_MOD_MASK_CONTROL)
        modifiers |= Qt::ControlModifier;
    if (state & XCB_MOD_MASK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (state & XCB_MOD_MASK_1)
        modifiers |= Qt::AltModifier;
    if (state & XCB_MOD_MASK_4)
        modifiers |= Qt::MetaModifier;
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(Qt::Key_A + int(symbol - 'a'))));
}

uint32_t internAtom(const char* name) {
    xcb_connection_t* c = connection();
    if (!c)
        return 0;
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!reply)
        return 0;
    uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// A key the widget with the keyboard uses itself (Ctrl+E goes to the end of a text box's
// line, Ctrl+C copies from it): it stays that widget's, as it is where no box is in front.
bool ownKeyOfFocusedWidget(const QKeySequence& key) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused || key.isEmpty())
        return false;
    const QKeyCombination combination = key[0];
    QKeyEvent asked(QEvent::ShortcutOverride, combination.key(), combination.keyboardModifiers());
    asked.setAccepted(false);
    QCoreApplication::sendEvent(focused, &asked);
    return asked.isAccepted();
}

bool heldBySomethingInFront(QtFormWindow* window) {
    QWidget* inFront = QApplication::activeModalWidget();
    return window->isVisible() && inFront && inFront != window;
}

const MenuItem* entryWithShortcut(const std::vector<MenuItem>& items, const QKeySequence& key) {
    for (const MenuItem& item : items) {
        if (!item.shortcut.empty() && QKeySequence(toQt(item.shortcut)) == key)
            return &item;
        if (const MenuItem* found = entryWithShortcut(item.children, key))
            return found;
    }
    return nullptr;
}

} // namespace

bool HeldWindowRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !QApplication::activeModalWidget())
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    switch (event->response_type & ~0x80) {
    case XCB_CLIENT_MESSAGE: {
        auto* client = reinterpret_cast<xcb_client_message_event_t*>(event);
        if (client->format != 32)
            return false;
        return closeRequested(client->window, client->type, client->data.data32[0]);
    }
    case XCB_KEY_PRESS: {
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        return keyPressed(key->detail, key->state);
    }
    default:
        return false;
    }
}

bool HeldWindowRequests::closeRequested(uint32_t window, uint32_t protocol, uint32_t request) {
    if (!knowsCloseRequests() || protocol != wmProtocols_ || request != wmDeleteWindow_)
        return false;
    QtFormWindow* held = heldWindow(window);
    return held && held->form().userRequestWhileHeld();
}

// The key reaches whichever window has the keyboard, the box in front most often: a menu
// shortcut counts for every held window whose menus have it.
bool HeldWindowRequests::keyPressed(uint8_t keycode, uint16_t state) {
    if (!(state & XCB_MOD_MASK_CONTROL))
        return false;
    std::optional<QKeySequence> key = letterKey(keycode, state);
    if (!key || ownKeyOfFocusedWidget(*key))
        return false;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<QtFormWindow*>(top);
        if (!window || !heldBySomethingInFront(window))
            continue;
        if (const MenuItem* entry = entryWithShortcut(window->form().menus(), *key))
            if (window->form().userRequestWhileHeld(entry->name))
                return true;
    }
    return false;
}

QtFormWindow* HeldWindowRequests::heldWindow(uint32_t window) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* form = dynamic_cast<QtFormWindow*>(top);
        if (form && form->windowHandle() && form->windowHandle()->winId() == window &&
            heldBySomethingInFront(form))
            return form;
    }
    return nullptr;
}

bool HeldWindowRequests::knowsCloseRequests() {
    if (!wmProtocols_ || !wmDeleteWindow_) {
        wmProtocols_ = internAtom("WM_PROTOCOLS");
        wmDeleteWindow_ = internAtom("WM_DELETE_WINDOW");
    }
    return wmProtocols_ && wmDeleteWindow_;
}

} // namespace platform
