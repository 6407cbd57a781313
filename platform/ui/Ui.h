#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/prompts/FileFilter.h"
#include "platform/prompts/MessageBox.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Form;
class Control;
class Timer;
class PrinterDevice;

struct FileDialogOptions {
    std::string title;
    std::vector<FileFilter> filters;
    std::string initialFolder;
    std::string fileName;
    // What F1 in the dialog opens; nothing when empty.
    std::function<void()> help;
};

// The desktop platform's user interface: windows, dialogs, message boxes, common dialogs,
// timers and the message loop. One implementation draws real windows, another plays a
// test's script in virtual time.
class Ui {
public:
    virtual ~Ui() = default;

    virtual ModalResult runModal(Form& form) = 0;
    virtual void showForm(Form& form) = 0;
    virtual void hideForm(Form& form) = 0;
    virtual void formCreated(Form&) {}
    virtual void formDestroyed(Form&) {}

    virtual ModalResult messageBox(MessageKind kind, MessageButtons buttons,
                                   const std::string& text, const std::string& caption = {}) = 0;
    virtual void beep(BeepKind kind) = 0;

    virtual std::optional<std::string> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogOptions& options) = 0;
    // The printer set-up dialog; F1 and its Help button run `help`.
    virtual bool printerSetupDialog(PrinterDevice& printer, const std::function<void()>& help) = 0;

    virtual void timerChanged(Timer& timer) = 0;
    virtual void timerDestroyed(Timer& timer) = 0;

    // Runs whatever the message loop has waiting, then returns.
    virtual void processMessages() = 0;
    // Waits until at least one message (a timer's, say) was handled.
    virtual void waitForMessages() = 0;
    virtual void setBusyCursor(bool busy) = 0;
    // True while a message box or a dialog waits for the person's answer: every other window
    // is held until it has one.
    virtual bool waitingForAnswer() const = 0;
    // How many of the program's boxes and dialogs wait for their answers, one over another.
    int boxesWaiting() const { return boxesWaiting_; }
    // Told before a box or dialog comes up, and once one has its answer (how many still
    // wait then): what was asked under a box can be taken up when that box is answered,
    // before the next one comes.
    std::function<void()> beforeAsking;
    std::function<void(int stillWaiting)> afterAnswer;
    // False when nobody can see the windows (no display: an unattended run); what is drawn
    // then only has to be right, never to be watched.
    virtual bool hasDisplay() const = 0;

    virtual std::unique_ptr<Canvas> createImageCanvas(Control& image) = 0;

    // Runs the message loop until quit() is called; returns the exit status.
    virtual int run() = 0;
    virtual void quit(int exitStatus) = 0;
    virtual bool quitting() const = 0;

protected:
    // Puts up a box or dialog (`ask` returns its answer) counted among those waiting.
    template <class Ask>
    auto awaitAnswer(Ask&& ask) -> decltype(ask()) {
        if (beforeAsking)
            beforeAsking();
        struct Counted {
            int& waiting;
            explicit Counted(int& w) : waiting(w) { ++waiting; }
            ~Counted() { --waiting; }
        };
        auto answer = [&] {
            Counted counted(boxesWaiting_);
            return ask();
        }();
        if (afterAnswer)
            afterAnswer(boxesWaiting_);
        return answer;
    }

private:
    int boxesWaiting_ = 0;
};

} // namespace platform
