#pragma once

#include <QWidget>

namespace platform {

// The window the help pages are shown in. Escape and Ctrl+W close it, as they close a page a
// person has finished reading, wherever in it the focus is.
class HelpWindow : public QWidget {
public:
    explicit HelpWindow(QWidget* owner = nullptr) : QWidget(owner, Qt::Window) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace platform
