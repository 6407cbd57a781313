#include "platform/fs/FileBeside.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace fs = std::filesystem;

static std::string folderOf(const std::string& path) {
    fs::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

std::string tempPatternBeside(const std::string& path, std::string_view tag, size_t longestPath) {
    fs::path target(path);
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // "." + name + tag + "XXXXXX" must still be a file name: a long name is cut to fit.
    std::string name = target.filename().string();
    const size_t added = 1 + tag.size() + 6;
    const size_t inFolder = (folder / "").string().size();
    size_t room = NAME_MAX - added;
    if (longestPath > inFolder + added + 1)
        room = std::min(room, longestPath - inFolder - added);
    if (name.size() > room)
        name.resize(room);
    return (folder / ("." + name + std::string(tag) + "XXXXXX")).string();
}

// The pattern with its six Xs made random.
static std::string randomName(const std::string& pattern) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 rng{std::random_device{}()};
    std::string name = pattern;
    for (size_t i = name.size() - 6; i < name.size(); ++i)
        name[i] = letters[rng() % (sizeof letters - 1)];
    return name;
}

FileBeside::FileBeside(const std::string& beside, const std::string& pattern, mode_t mode) {
    fd_ = open(folderOf(beside).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd_ >= 0)
        return;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd_ = mkostemp(buffer.data(), O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    name_ = buffer.data();
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, mode & ~mask);
}

FileBeside::~FileBeside() {
    close();
    if (!keepName_ && !name_.empty())
        unlink(name_.c_str());
}

int FileBeside::close() {
    if (fd_ < 0)
        return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

// An unnamed file is linked through its descriptor: directly where this process may, else
// through the process's own view of its descriptors.
static int linkUnnamed(int fd, const std::string& path) {
    if (linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                          : errno;
}

int FileBeside::nameAs(const std::string& path) {
    const int error = name_.empty() ? linkUnnamed(fd_, path)
                                    : (link(name_.c_str(), path.c_str()) == 0 ? 0 : errno);
    if (error != 0)
        return error;
    if (!name_.empty())
        unlink(name_.c_str());
    name_ = path;
    return 0;
}

int FileBeside::nameAfter(const std::string& pattern) {
    if (!name_.empty())
        return 0;
    for (int attempt = 0; attempt < 100; ++attempt)
        if (int error = nameAs(randomName(pattern)); error != EEXIST)
            return error;
    return EEXIST;
}

} // namespace platform
