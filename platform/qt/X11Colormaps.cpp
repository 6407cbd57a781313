#include "platform/qt/X11Colormaps.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSet>
#include <QWidget>
#include <xcb/xcb.h>

#include <cstdlib>

namespace platform {

namespace {

class ScreenColormaps : public QObject {
public:
    ScreenColormaps(QObject* parent, xcb_connection_t* connection)
        : QObject(parent), connection_(connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        screen_ = xcb_setup_roots_iterator(setup).data;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow())
                useScreenColormap(static_cast<xcb_window_t>(widget->winId()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void useScreenColormap(xcb_window_t window) {
        if (!screen_ || done_.contains(window))
            return;
        done_.insert(window);
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr);
        if (!attributes)
            return;
        // A colormap must match its window's visual: a window of another visual keeps its own.
        if (attributes->visual == screen_->root_visual &&
            attributes->colormap != screen_->default_colormap) {
            uint32_t colormap = screen_->default_colormap;
            xcb_change_window_attributes(connection_, window, XCB_CW_COLORMAP, &colormap);
            xcb_flush(connection_);
        }
        std::free(attributes);
    }

    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
    QSet<xcb_window_t> done_;
};

} // namespace

void useScreenColormaps(QApplication& app) {
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    app.installEventFilter(new ScreenColormaps(&app, x11->connection()));
}

} // namespace platform
