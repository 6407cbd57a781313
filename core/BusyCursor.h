#pragma once

#include "core/Notices.h"

namespace quillan {

// The busy cursor for as long as a step works. Guards nest: the cursor turns busy when the
// first begins and back to the arrow when the last ends, however it ends, an error leaving
// the step included. A box shown meanwhile is shown over the arrow (Notices::tell).
class BusyCursor {
public:
    explicit BusyCursor(Notices& notices) : notices_(notices) {
        if (notices_.busyGuards_++ == 0)
            notices_.showBusy(true);
    }
    ~BusyCursor() {
        if (--notices_.busyGuards_ == 0)
            notices_.showBusy(false);
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Notices& notices_;
};

// The arrow for as long as a person works in a window of the program's own (a chooser)
// in the middle of a busy step; the busy cursor again afterwards while a BusyCursor lives.
class ArrowCursor {
public:
    explicit ArrowCursor(Notices& notices) : notices_(notices) { notices_.showBusy(false); }
    ~ArrowCursor() {
        if (notices_.busy())
            notices_.showBusy(true);
    }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;

private:
    Notices& notices_;
};

} // namespace quillan
