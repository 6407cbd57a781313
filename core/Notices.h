#pragma once

#include "platform/prompts/MessageBox.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillan {

// A message box as the program words it: the beep before it (none for the boxes of the
// spreadsheet library's property setters), its kind, its buttons and its text.
struct Notice {
    std::optional<platform::BeepKind> beep;
    platform::MessageKind kind;
    platform::MessageButtons buttons;
    std::string text;
};

// A question for the name of a file the program is to write: the dialog's title, the name
// it proposes and the kinds of file it offers (a description and its patterns).
struct FileQuestion {
    std::string title;
    std::string fileName;
    std::vector<std::pair<std::string, std::vector<std::string>>> filters;
};

// What the program tells or asks a person, and the busy cursor it shows while it works
// (through BusyCursor, which always gives the arrow back). The program's windows implement
// it; the code below them reaches a person only through it and the other narrow interfaces.
class Notices {
public:
    virtual ~Notices() = default;

    // Beeps and shows the box over the arrow cursor, whatever work goes on, and returns the
    // button that answered it; work that goes on after it shows the busy cursor again.
    virtual platform::ModalResult tell(const Notice& notice) = 0;

    // The name the person gives for the file; nothing when they cancel.
    virtual std::optional<std::string> askForFile(const FileQuestion& question) = 0;

    // Whether a BusyCursor is alive.
    bool busy() const { return busyGuards_ > 0; }

protected:
    // Shows the busy cursor, or the arrow again.
    virtual void showBusy(bool busy) = 0;

private:
    friend class BusyCursor;
    friend class ArrowCursor;
    int busyGuards_ = 0;
};

// Nobody to tell: every box is answered with its default button, unseen, every file question
// is cancelled, and no cursor changes. The notices of a context the program has not given its own.
class NoNotices : public Notices {
public:
    platform::ModalResult tell(const Notice& notice) override {
        return platform::defaultButton(notice.buttons);
    }
    std::optional<std::string> askForFile(const FileQuestion&) override { return std::nullopt; }

protected:
    void showBusy(bool) override {}
};

} // namespace quillan
