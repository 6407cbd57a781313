#include "platform/qt/HelpWindow.h"

#include <QKeyEvent>

namespace platform {

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    bool escape = event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
    bool ctrlW = event->key() == Qt::Key_W && event->modifiers() == Qt::ControlModifier;
    if (escape || ctrlW) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace platform
