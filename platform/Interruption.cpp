#include "platform/Interruption.h"

#include <atomic>
#include <csignal>

namespace platform {

static volatile std::sig_atomic_t requested = 0;
static std::atomic<int> writesInProgress{0};
// A second signal that came while a file was being put in place, to be acted on after.
static std::atomic<int> deferredSignal{0};

static void endWith(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

static void onSignal(int signal) {
    if (!requested) {
        requested = 1;
        return;
    }
    if (writesInProgress.load() > 0) {
        deferredSignal.store(signal);
        return;
    }
    endWith(signal);
}

void catchInterruptions() {
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

bool interruptionRequested() {
    return requested != 0;
}

void setInterruptionRequested(bool on) {
    requested = on ? 1 : 0;
}

WriteInProgress::WriteInProgress() {
    ++writesInProgress;
}

WriteInProgress::~WriteInProgress() {
    if (--writesInProgress > 0)
        return;
    if (int signal = deferredSignal.exchange(0); signal != 0)
        endWith(signal);
}

} // namespace platform
