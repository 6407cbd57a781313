#pragma once

#include <mutex>
#include <optional>

namespace platform {

// A program the shell started, as far as is known: running, or ended with its exit status.
// The shell's watcher marks the end from a thread of its own; the program asks on its one
// thread.
class ChildProgram {
public:
    // Nothing while the program runs; its exit status once it has ended (128 plus the
    // signal's number when a signal ended it).
    std::optional<int> exitStatus() const {
        std::lock_guard lock(mutex_);
        return status_;
    }
    void ended(int status) {
        std::lock_guard lock(mutex_);
        status_ = status;
    }

private:
    mutable std::mutex mutex_;
    std::optional<int> status_;
};

} // namespace platform
