#pragma once

#include "platform/ui/MessageBox.h"

#include <string>

namespace quillan {

// A message box as the program words it: the beep before it, its kind, its buttons and its
// text.
struct Notice {
    platform::BeepKind beep;
    platform::MessageKind kind;
    platform::MessageButtons buttons;
    std::string text;
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

// Nobody to tell: every box is answered with its default button, unseen, and no cursor
// changes. The notices of a context the program has not given its own.
class NoNotices : public Notices {
public:
    platform::ModalResult tell(const Notice& notice) override {
        return platform::defaultButton(notice.buttons);
    }

protected:
    void showBusy(bool) override {}
};

} // namespace quillan
