#pragma once

#include "platform/ui/Form.h"
#include "platform/ui/Ui.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A user interface without a display, for tests. A test queues what the person does
// (when form X is shown, fill its controls and press a button; answer the next message box
// with button B; choose file F) and afterwards reads what was shown. Time is virtual:
// timers fire when the program waits for messages, at no cost in real time.
class ScriptedUi : public Ui {
public:
    using FormAction = std::function<void(Form&)>;

    struct MessageRecord {
        MessageKind kind;
        MessageButtons buttons;
        std::string text;
        std::string caption;
        ModalResult answer;
        std::string over; // the modal form open when the box came up, empty for none
        bool busyCursor;  // the cursor over the box
    };

    // Actions for modal shows of the named form, taken in the order queued. A form that an
    // action leaves open (a refused entry, say) takes the next action queued for it, as a
    // person goes on working in the dialog still in front of them.
    void whenShown(const std::string& formName, FormAction action);
    // Shortcut: press the named button when the form is shown.
    void pressWhenShown(const std::string& formName, const std::string& buttonName);
    // Answers the next message box; `meanwhile` runs first, while the box waits (what the
    // person does elsewhere before answering it).
    void answerNextMessage(ModalResult answer, std::function<void()> meanwhile = {});
    void chooseFile(std::optional<std::string> path);
    void answerPrinterSetup(bool ok) { printerSetupAnswers_.push_back(ok); }

    const std::vector<MessageRecord>& messages() const { return messages_; }
    const std::vector<BeepKind>& beeps() const { return beeps_; }
    // Every show of a form, modal ("modal X") or not ("show X"), and hides ("hide X").
    const std::vector<std::string>& formLog() const { return formLog_; }
    // Modal shows the script did not expect, and forms left open by their action.
    const std::vector<std::string>& unexpected() const { return unexpected_; }
    size_t pendingActions() const;
    bool busyCursor() const { return busy_; }
    int exitStatus() const { return exitStatus_; }
    void clearRecords();

    long long now() const { return now_; }
    // Moves virtual time on, firing every timer that falls due on the way.
    void advance(long long ms);

    ModalResult runModal(Form& form) override;
    void showForm(Form& form) override;
    void hideForm(Form& form) override;
    ModalResult messageBox(MessageKind kind, MessageButtons buttons, const std::string& text,
                           const std::string& caption) override;
    void beep(BeepKind kind) override { beeps_.push_back(kind); }
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override;
    bool printerSetupDialog(PrinterDevice& printer, const std::function<void()>& help) override;
    // What F1 in the last printer set-up dialog does.
    std::function<void()> printerSetupHelp;
    void timerChanged(Timer& timer) override;
    void timerDestroyed(Timer& timer) override;
    // Waiting for messages lets virtual time run on to the next enabled timer.
    void processMessages() override;
    void waitForMessages() override { processMessages(); }
    void setBusyCursor(bool busy) override { busy_ = busy; }
    // While an action queued for a modal form, or what is done meanwhile under a message box,
    // runs.
    bool waitingForAnswer() const override { return boxesWaiting() > 0; }
    // A script plays a person at a display unless told there is none.
    bool hasDisplay() const override { return display_; }
    void setHasDisplay(bool display) { display_ = display; }
    std::unique_ptr<Canvas> createImageCanvas(Control& image) override;
    // The message loop: fires timers until quit() or until none is enabled.
    int run() override;
    void quit(int exitStatus) override;
    bool quitting() const override { return quitting_; }

private:
    std::optional<std::string> nextFile(const char* what, const FileDialogOptions& options);
    bool fireNextTimer();

    std::map<std::string, std::deque<FormAction>> actions_;
    struct MessageAnswer {
        ModalResult answer;
        std::function<void()> meanwhile;
    };
    std::deque<MessageAnswer> messageAnswers_;
    std::deque<std::optional<std::string>> files_;
    std::deque<bool> printerSetupAnswers_;
    std::vector<MessageRecord> messages_;
    std::vector<BeepKind> beeps_;
    std::vector<std::string> formLog_;
    std::vector<std::string> unexpected_;
    std::vector<std::string> openForms_;
    std::map<Timer*, long long> deadlines_;
    long long now_ = 0;
    long long idleWaits_ = 0;
    bool busy_ = false;
    bool display_ = true;
    bool quitting_ = false;
    int exitStatus_ = 0;
};

} // namespace platform
