#include "platform/system/MainThread.h"

#include <unistd.h>

namespace platform {

bool isMainThread() {
    // The main thread's id is the process id.
    return ::gettid() == ::getpid();
}

} // namespace platform
