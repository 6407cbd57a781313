#pragma once

// A command run as a child process of its own, timed from outside: its CPU time and peak
// memory as the system counts them for the finished child, and its wall time.

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quillan::bench {

struct ChildUsage {
    double cpuSeconds = 0; // user and system
    double userSeconds = 0;
    double systemSeconds = 0;
    double wallSeconds = 0;
    double peakMegabytes = 0;
    bool succeeded = false;
};

// Standard output goes to /dev/null unless `keepOutput`; spawned without copying this
// process, so that the figures are the command's own.
inline ChildUsage runChild(const std::vector<std::string>& command, bool keepOutput = false) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!keepOutput)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    ChildUsage usage;
    pid_t child = 0;
    auto start = std::chrono::steady_clock::now();
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage used{};
        wait4(child, &status, 0, &used);
        usage.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        usage.userSeconds = static_cast<double>(used.ru_utime.tv_sec) +
                            static_cast<double>(used.ru_utime.tv_usec) / 1e6;
        usage.systemSeconds = static_cast<double>(used.ru_stime.tv_sec) +
                              static_cast<double>(used.ru_stime.tv_usec) / 1e6;
        usage.cpuSeconds = usage.userSeconds + usage.systemSeconds;
        usage.peakMegabytes = static_cast<double>(used.ru_maxrss) / 1024.0;
        usage.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return usage;
}

} // namespace quillan::bench
