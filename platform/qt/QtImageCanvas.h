#pragma once

#include "platform/qt/QtPainterCanvas.h"

#include <QImage>
#include <QPainter>

namespace platform {

class Control;

// The drawing surface of a picture control: an image the window shows and refreshes after
// every drawing call.
class QtImageCanvas : public QtPainterCanvas {
public:
    QtImageCanvas(Control& control, int width, int height);
    ~QtImageCanvas() override;

    const QImage& image() const { return image_; }

private:
    QImage image_;
    QPainter painter_;
};

} // namespace platform
