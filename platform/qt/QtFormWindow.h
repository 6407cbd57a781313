#pragma once

#include "platform/ui/Form.h"

#include <QDialog>
#include <QEventLoop>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class QMenuBar;
class QImage;

namespace platform {

// The window of one form: widgets built from its controls and kept in step both ways.
class QtFormWindow : public QDialog, public FormView {
public:
    explicit QtFormWindow(Form& form);
    ~QtFormWindow() override;

    Form& form() const { return form_; }

    void controlChanged(Control& control) override;
    void formChanged(Form& form) override;
    void focusChanged(Form& form) override;

    // Runs a nested loop until the form has a modal result.
    ModalResult execModal();
    void endModalIfDone();
    void focusFirstControl();
    // Sizes the window to what its controls need.
    void fitToContents();
    // The size its controls need.
    QSize neededSize() const;
    // On a screen too low for it (800 x 600, say), its controls scroll, so that the window
    // fits and its buttons stay in view; it is kept within the screen's free area.
    void fitOnScreen();
    // Its next modal show as a page among others: at least this large, and with its frame's
    // top left at the place, when there is one.
    void showAsPage(QSize size, std::optional<QPoint> place);

    QImage& imageFor(Control& control);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void buildMenus();
    // Enables and disables the entries built, as the form's menus say.
    void syncMenus();
    // The first visible, enabled button meant as default is the one Enter presses.
    void syncDefaultButton();
    QWidget* createWidget(Control& control, QWidget* parent);
    void syncWidget(Control& control);
    QWidget* containerFor(const std::string& parentName);
    QWidget* captionedRow(Control& control, QWidget* edit, QWidget* parent);
    void syncCaptionedRow(Control& control, QWidget* edit);
    void scrollControls();

    Form& form_;
    QMenuBar* menuBar_ = nullptr;
    std::vector<std::pair<const MenuItem*, QAction*>> menuActions_;
    std::map<Control*, QWidget*> widgets_;
    std::map<Control*, std::unique_ptr<QImage>> images_;
    size_t builtControls_ = 0;
    QEventLoop* modalLoop_ = nullptr;
    std::optional<QSize> pageSize_;
    std::optional<QPoint> pagePlace_;
    bool building_ = false;
    // Once the controls scroll: the size the window would have had without it.
    std::optional<QSize> unscrolledSize_;
};

} // namespace platform
