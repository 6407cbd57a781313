#include "tests/support/SmallDisk.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quillan::test {

namespace {

std::string failed(const std::string& what) {
    return what + " (" + std::strerror(errno) + ")";
}

bool writeProcFile(const std::string& name, const std::string& text) {
    std::ofstream file("/proc/self/" + name);
    file << text;
    file.flush();
    return static_cast<bool>(file);
}

// Of the privileges a new user namespace gives, the process keeps only the one to mount and
// unmount: its own files stay as closed to it as to the user.
bool keepOnlyTheMountPrivilege() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct privileges[2] = {};
    privileges[CAP_SYS_ADMIN / 32].effective = privileges[CAP_SYS_ADMIN / 32].permitted =
        1u << (CAP_SYS_ADMIN % 32);
    return syscall(SYS_capset, &header, privileges) == 0;
}

// A user namespace in which this process keeps its user and group, and holds the privilege
// to mount in a mount namespace of its own.
std::string enterOwnUserNamespace() {
    const uid_t user = geteuid();
    const gid_t group = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return failed("the system gives this process no namespace of its own to mount a small "
                      "filesystem in: a user who is not the superuser needs unprivileged user "
                      "namespaces, which are off here, and the process one thread");
    const std::string mapUser = std::to_string(user) + " " + std::to_string(user) + " 1\n";
    const std::string mapGroup = std::to_string(group) + " " + std::to_string(group) + " 1\n";
    if (!writeProcFile("setgroups", "deny\n") || !writeProcFile("uid_map", mapUser) ||
        !writeProcFile("gid_map", mapGroup))
        return failed("the user namespace could not be given this process's user");
    if (!keepOnlyTheMountPrivilege())
        return failed("the privileges of the user namespace could not be given up");
    return {};
}

// Once a process: a mount namespace of its own, whose mounts stay in it.
const std::string& enterOwnMountNamespace() {
    static const std::string refusal = []() -> std::string {
        if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0) {
            std::string why = enterOwnUserNamespace();
            if (!why.empty())
                return why;
        }
        if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return failed("the mounts of the test's own namespace could not be kept to it");
        return {};
    }();
    return refusal;
}

} // namespace

SmallDisk::SmallDisk(const std::string& folder, uintmax_t bytes) : at_(folder) {
    std::filesystem::create_directories(at_);
    refusal_ = enterOwnMountNamespace();
    if (!refusal_.empty())
        return;
    const std::string size = "size=" + std::to_string(bytes / 1024 + 1) + "k";
    if (mount("tmpfs", at_.c_str(), "tmpfs", 0, size.c_str()) != 0)
        refusal_ = failed("a small filesystem could not be mounted on " + at_);
}

SmallDisk::~SmallDisk() {
    if (mounted())
        umount(at_.c_str());
}

} // namespace quillan::test
