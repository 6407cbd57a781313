#include "platform/testing/ScriptedUi.h"

#include "platform/testing/RecordingCanvas.h"
#include "platform/ui/Timer.h"

#include <stdexcept>

namespace platform {

void ScriptedUi::whenShown(const std::string& formName, FormAction action) {
    actions_[formName].push_back(std::move(action));
}

void ScriptedUi::pressWhenShown(const std::string& formName, const std::string& buttonName) {
    whenShown(formName, [buttonName](Form& form) { form.control(buttonName).userClick(); });
}

void ScriptedUi::answerNextMessage(ModalResult answer, std::function<void()> meanwhile) {
    messageAnswers_.push_back({answer, std::move(meanwhile)});
}

void ScriptedUi::chooseFile(std::optional<std::string> path) {
    files_.push_back(std::move(path));
}

size_t ScriptedUi::pendingActions() const {
    size_t n = 0;
    for (const auto& [name, queue] : actions_)
        n += queue.size();
    return n;
}

void ScriptedUi::clearRecords() {
    messages_.clear();
    beeps_.clear();
    formLog_.clear();
    unexpected_.clear();
}

ModalResult ScriptedUi::runModal(Form& form) {
    formLog_.push_back("modal " + form.name());
    form.markVisible(true);
    form.runShowEvents();
    auto& queue = actions_[form.name()];
    if (queue.empty()) {
        unexpected_.push_back("modal " + form.name());
        form.setModalResult(ModalResult::Cancel);
    } else {
        openForms_.push_back(form.name());
        awaitAnswer([&] {
            while (form.modalResult() == ModalResult::None && !queue.empty()) {
                FormAction action = std::move(queue.front());
                queue.pop_front();
                action(form);
            }
            return 0;
        });
        openForms_.pop_back();
        if (form.modalResult() == ModalResult::None) {
            unexpected_.push_back("left open " + form.name());
            form.setModalResult(ModalResult::Cancel);
        }
    }
    form.markVisible(false);
    return form.modalResult();
}

void ScriptedUi::showForm(Form& form) {
    formLog_.push_back("show " + form.name());
    form.markVisible(true);
    form.runShowEvents();
}

void ScriptedUi::hideForm(Form& form) {
    if (form.visible())
        formLog_.push_back("hide " + form.name());
    form.markVisible(false);
}

ModalResult ScriptedUi::messageBox(MessageKind kind, MessageButtons buttons,
                                   const std::string& text, const std::string& caption) {
    const ModalResult answer = awaitAnswer([&] {
        if (messageAnswers_.empty())
            return defaultButton(buttons);
        MessageAnswer next = std::move(messageAnswers_.front());
        messageAnswers_.pop_front();
        if (next.meanwhile)
            next.meanwhile();
        return next.answer;
    });
    messages_.push_back(
        {kind, buttons, text, caption, answer, openForms_.empty() ? "" : openForms_.back(), busy_});
    return answer;
}

std::optional<std::string> ScriptedUi::nextFile(const char* what,
                                                const FileDialogOptions& options) {
    formLog_.push_back(std::string(what) + " " + options.title);
    if (files_.empty())
        return std::nullopt;
    auto file = std::move(files_.front());
    files_.pop_front();
    return file;
}

std::optional<std::string> ScriptedUi::openFileDialog(const FileDialogOptions& options) {
    return nextFile("open", options);
}

std::optional<std::string> ScriptedUi::saveFileDialog(const FileDialogOptions& options) {
    return nextFile("save", options);
}

bool ScriptedUi::printerSetupDialog(PrinterDevice&, const std::function<void()>& help) {
    formLog_.push_back("printer setup");
    printerSetupHelp = help;
    if (printerSetupAnswers_.empty())
        return false;
    bool ok = printerSetupAnswers_.front();
    printerSetupAnswers_.pop_front();
    return ok;
}

void ScriptedUi::timerChanged(Timer& timer) {
    if (timer.enabled())
        deadlines_[&timer] = now_ + timer.interval();
    else
        deadlines_.erase(&timer);
}

void ScriptedUi::timerDestroyed(Timer& timer) {
    deadlines_.erase(&timer);
}

bool ScriptedUi::fireNextTimer() {
    if (deadlines_.empty())
        return false;
    auto next = deadlines_.begin();
    for (auto it = deadlines_.begin(); it != deadlines_.end(); ++it)
        if (it->second < next->second)
            next = it;
    Timer* timer = next->first;
    if (next->second > now_)
        now_ = next->second;
    next->second = now_ + (timer->interval() > 0 ? timer->interval() : 1);
    timer->fire();
    return true;
}

void ScriptedUi::advance(long long ms) {
    long long until = now_ + ms;
    for (;;) {
        Timer* due = nullptr;
        long long when = until + 1;
        for (auto& [timer, deadline] : deadlines_)
            if (deadline <= until && deadline < when) {
                due = timer;
                when = deadline;
            }
        if (!due)
            break;
        now_ = when;
        deadlines_[due] = now_ + (due->interval() > 0 ? due->interval() : 1);
        due->fire();
    }
    now_ = until;
}

void ScriptedUi::processMessages() {
    if (fireNextTimer()) {
        idleWaits_ = 0;
        return;
    }
    // A program that waits on messages with no timer running would wait forever.
    if (++idleWaits_ > 1000000)
        throw std::logic_error("waiting for messages with no timer enabled");
}

std::unique_ptr<Canvas> ScriptedUi::createImageCanvas(Control&) {
    return std::make_unique<RecordingCanvas>();
}

int ScriptedUi::run() {
    while (!quitting_ && fireNextTimer()) {
    }
    return exitStatus_;
}

void ScriptedUi::quit(int exitStatus) {
    quitting_ = true;
    exitStatus_ = exitStatus;
}

} // namespace platform
