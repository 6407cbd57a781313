#include "platform/shell/Shell.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

int exitStatusOf(int waitStatus) {
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return WEXITSTATUS(waitStatus);
}

void waitFor(pid_t pid, const std::shared_ptr<ChildProgram>& child) {
    int status = 0;
    pid_t reaped;
    do {
        reaped = waitpid(pid, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    child->ended(reaped == pid ? exitStatusOf(status) : 127);
}

} // namespace

std::shared_ptr<ChildProgram> ProcessShell::start(const std::string& program,
                                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return nullptr;
    auto child = std::make_shared<ChildProgram>();
    std::thread(waitFor, pid, child).detach();
    return child;
}

} // namespace platform
