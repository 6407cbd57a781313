#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

namespace quillan::test {

// Another program that opens a file while this process writes it: a child process that
// opens `path` with `flags` and then hands the descriptor to `then`, whose result is its exit
// status. Returns once the child waits for this process's lease on the file, or has ended
// (where there was no lease to wait for).
pid_t startOtherProgramOpening(const std::string& path, int flags,
                               const std::function<int(int fd)>& then);

// Waits for the child; its exit status, or -1 when it did not exit by itself.
int exitStatusOf(pid_t child);

} // namespace quillan::test
