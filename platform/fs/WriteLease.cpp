#include "platform/fs/WriteLease.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <string>

namespace platform {

namespace {

// The lease's notices go out as a signal whose default is to be ignored: the lease is polled,
// and the default notice (SIGIO) would end the process.
constexpr int LeaseNotice = SIGURG;

} // namespace

WriteLease::WriteLease(int fd) : fd_(fd) {
    if (fd_ < 0 || fcntl(fd_, F_SETSIG, LeaseNotice) != 0)
        return;
    held_ = fcntl(fd_, F_SETLEASE, F_WRLCK) == 0;
}

WriteLease::~WriteLease() {
    release();
}

// A reader that opens the file only asks the lease to be lowered to a read lease; a writer
// asks it to be given up, as the kernel does when it takes a lease away.
bool WriteLease::writerArrived() const {
    return held_ && fcntl(fd_, F_GETLEASE) == F_UNLCK;
}

// The kernel lists the locks and leases of an open file with it; a lease taken away after its
// break time is no longer there.
bool WriteLease::stillHeld() const {
    if (!held_)
        return false;
    std::ifstream info("/proc/self/fdinfo/" + std::to_string(fd_));
    for (std::string line; std::getline(info, line);)
        if (line.rfind("lock:", 0) == 0 && line.find("LEASE") != std::string::npos)
            return true;
    return false;
}

void WriteLease::release() {
    if (!held_)
        return;
    fcntl(fd_, F_SETLEASE, F_UNLCK);
    held_ = false;
}

} // namespace platform
