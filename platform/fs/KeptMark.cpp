#include "platform/fs/KeptMark.h"

#include "platform/fs/FileBytes.h"
#include "platform/fs/ProgramPaths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* Attribute = "user.quillan.kept";
constexpr size_t LongestPath = 4096;
bool attributesRefused = false;

bool refusesAttributes(int error) {
    return error == ENOTSUP || error == EPERM || error == EACCES;
}

// The record that stands for the mark of the file with this device and inode.
std::string recordPath(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return {};
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string base = state && *state ? state : homeFolder() + "/.local/state";
    return base + "/quillan/kept/" + std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino);
}

int writeRecord(int fd, const std::string& copyPath) {
    const std::string record = recordPath(fd);
    if (record.empty())
        return errno;
    std::error_code ec;
    fs::create_directories(fs::path(record).parent_path(), ec);
    // A record cut short by a kill names no copy, and is stale like any other.
    const int out = open(record.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0)
        return errno;
    int error = writeAll(out, copyPath);
    if (error == 0 && fsync(out) != 0)
        error = errno;
    close(out);
    return error;
}

std::string readRecord(int fd) {
    const std::string record = recordPath(fd);
    const int in = record.empty() ? -1 : open(record.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return {};
    std::string path;
    readAt(in, 0, LongestPath, path);
    close(in);
    return path;
}

} // namespace

void setExtendedAttributesRefused(bool refused) {
    attributesRefused = refused;
}

int markKeptCopy(int fd, const std::string& copyPath) {
    const std::string absolute = fs::absolute(copyPath).lexically_normal().string();
    if (!attributesRefused && fsetxattr(fd, Attribute, absolute.data(), absolute.size(), 0) == 0)
        return 0;
    if (!attributesRefused && !refusesAttributes(errno))
        return errno;
    return writeRecord(fd, absolute);
}

std::string markedKeptCopy(int fd) {
    if (!attributesRefused) {
        std::string path(LongestPath, '\0');
        const ssize_t n = fgetxattr(fd, Attribute, path.data(), path.size());
        if (n > 0) {
            path.resize(static_cast<size_t>(n));
            return path;
        }
    }
    return readRecord(fd);
}

void unmarkKeptCopy(int fd) {
    if (!attributesRefused)
        fremovexattr(fd, Attribute);
    if (const std::string record = recordPath(fd); !record.empty())
        unlink(record.c_str());
}

} // namespace platform
