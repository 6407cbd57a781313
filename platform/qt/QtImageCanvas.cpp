#include "platform/qt/QtImageCanvas.h"

#include "platform/ui/Control.h"
#include "platform/ui/Form.h"

namespace platform {

QtImageCanvas::QtImageCanvas(Control& control, int width, int height)
    : QtPainterCanvas([&control] { control.owner().controlChanged(control); }),
      image_(width > 0 ? width : 1, height > 0 ? height : 1, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    painter_.begin(&image_);
    attach(&painter_, 96);
}

QtImageCanvas::~QtImageCanvas() {
    painter_.end();
}

} // namespace platform
