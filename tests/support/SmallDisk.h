#pragma once

#include <cstdint>
#include <string>

namespace quillan::test {

// A small filesystem mounted on a folder, for a disk that fills: a tmpfs of about the given
// size, unmounted when the disk goes. It is mounted in a mount namespace of the test
// process's own, which the programs it starts share and no other process sees, so that a
// test that dies leaves no mount behind. A user who is not the superuser gets it in a user
// namespace of the process's own as well, where the system gives those to every user (as
// Debian does); the process keeps its user, and the programs it starts run as that user with
// no privilege. The process must have one thread when the first disk is mounted.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, uintmax_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return refusal_.empty(); }
    // Why the disk could not be mounted, in words for the test's failure; empty when it was.
    const std::string& refusal() const { return refusal_; }

private:
    std::string at_;
    std::string refusal_;
};

} // namespace quillan::test
