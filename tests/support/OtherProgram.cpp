#include "tests/support/OtherProgram.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace quillan::test {

namespace {

// The kernel lists a lease that another process's opening is breaking as BREAKING.
bool aLeaseOfThisProcessIsBeingBroken() {
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fdinfo")) {
        std::ifstream info(fd.path());
        for (std::string line; std::getline(info, line);)
            if (line.rfind("lock:", 0) == 0 && line.find("LEASE") != std::string::npos &&
                line.find("BREAKING") != std::string::npos)
                return true;
    }
    return false;
}

bool hasEnded(pid_t child) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == child;
}

} // namespace

pid_t startOtherProgramOpening(const std::string& path, int flags,
                               const std::function<int(int fd)>& then) {
    const pid_t child = fork();
    if (child == 0)
        _exit(then(open(path.c_str(), flags | O_CLOEXEC)));
    while (child > 0 && !aLeaseOfThisProcessIsBeingBroken() && !hasEnded(child))
        usleep(1000);
    return child;
}

int exitStatusOf(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace quillan::test
