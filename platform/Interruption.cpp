#include "platform/Interruption.h"

#include <csignal>

namespace platform {

static volatile std::sig_atomic_t requested = 0;

static void onSignal(int signal) {
    if (requested) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    requested = 1;
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

} // namespace platform
