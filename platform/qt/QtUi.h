#pragma once

#include "platform/ui/Form.h"
#include "platform/ui/Ui.h"

#include <QObject>
#include <map>
#include <memory>

class QFileDialog;
class QTimer;
class QWidget;

namespace platform {

class QtFormWindow;
class HeldWindowRequests;

// The user interface on Qt widgets: a real window per form, built from its controls.
class QtUi : public Ui {
public:
    explicit QtUi(bool unattended);
    ~QtUi() override;

    bool unattended() const { return unattended_; }

    ModalResult runModal(Form& form) override;
    void showForm(Form& form) override;
    void hideForm(Form& form) override;
    void formDestroyed(Form& form) override;
    ModalResult messageBox(MessageKind kind, MessageButtons buttons, const std::string& text,
                           const std::string& caption) override;
    void beep(BeepKind kind) override;
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override;
    bool printerSetupDialog(PrinterDevice& printer, const std::function<void()>& help) override;
    void timerChanged(Timer& timer) override;
    void timerDestroyed(Timer& timer) override;
    void processMessages() override;
    void waitForMessages() override;
    void setBusyCursor(bool busy) override;
    bool waitingForAnswer() const override;
    bool hasDisplay() const override { return !unattended_; }
    std::unique_ptr<Canvas> createImageCanvas(Control& image) override;
    int run() override;
    void quit(int exitStatus) override;
    bool quitting() const override { return quitting_; }

    // The open dialog of these options, not yet shown. Its filters match names in any case:
    // "*.XLS" shows list.xls too.
    static std::unique_ptr<QFileDialog> makeOpenDialog(const FileDialogOptions& options);

    QtFormWindow& windowFor(Form& form);
    bool saveScreenshot(Form& form, const std::string& pngPath);
    int saveMenuScreenshots(Form& form, const std::string& pngPathPrefix);

private:
    void prepareAsPage(QtFormWindow& window, const PageSet& pages);

    bool unattended_;
    bool quitting_ = false;
    bool busy_ = false;
    int exitStatus_ = 0;
    std::map<Form*, std::unique_ptr<QtFormWindow>> windows_;
    std::map<Timer*, std::unique_ptr<QTimer>> timers_;
    std::unique_ptr<HeldWindowRequests> heldRequests_;
};

} // namespace platform
