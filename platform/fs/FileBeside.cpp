#include "platform/fs/FileBeside.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace fs = std::filesystem;

std::string folderOf(const std::string& path) {
    fs::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

std::vector<std::string> namesOfFileIn(const std::string& folder, unsigned long long device,
                                       unsigned long long inode) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        struct stat st {};
        if (lstat(entry.path().c_str(), &st) == 0 && st.st_dev == device && st.st_ino == inode)
            names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string hiddenNameBeside(const std::string& path, std::string_view tag, std::string_view ending,
                             size_t longestPath) {
    fs::path target(path);
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // "." + name + tag + ending must still be a file name: a long name is cut to fit.
    std::string name = target.filename().string();
    const size_t added = 1 + tag.size() + ending.size();
    const size_t inFolder = (folder / "").string().size();
    size_t room = NAME_MAX - added;
    if (longestPath > inFolder + added + 1)
        room = std::min(room, longestPath - inFolder - added);
    if (name.size() > room)
        name.resize(room);
    return (folder / ("." + name + std::string(tag) + std::string(ending))).string();
}

std::string tempPatternBeside(const std::string& path, std::string_view tag, size_t longestPath) {
    return hiddenNameBeside(path, tag, "XXXXXX", longestPath);
}

FileBeside::FileBeside(const std::string& beside, const OwnFilePattern& pattern, mode_t mode)
    : beside_(beside), pattern_(pattern) {
    fd_ = open(folderOf(beside).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd_ >= 0)
        return;
    const std::string made = tempPatternBeside(beside, pattern.tag, pattern.longestPath);
    std::vector<char> buffer(made.begin(), made.end());
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
    // At once, while it is still empty, the name by which it is known for the program's.
    if (int error = nameAsOwn(); error != 0) {
        error_ = error;
        ::close(fd_);
        fd_ = -1;
        unlink(name_.c_str());
        name_.clear();
    }
}

FileBeside::~FileBeside() {
    close();
    if (keepName_ || name_.empty())
        return;
    ownFileStep();
    unlink(name_.c_str());
}

int FileBeside::close() {
    if (fd_ < 0)
        return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

// Linked through its descriptor: directly where this process may, else through the
// process's own view of its descriptors.
int linkOpenFile(int fd, const std::string& path) {
    if (linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                          : errno;
}

int FileBeside::nameAs(const std::string& path) {
    ownFileStep();
    int error = name_.empty() ? linkOpenFile(fd_, path)
                              : (link(name_.c_str(), path.c_str()) == 0 ? 0 : errno);
    // A file system without hard links: a named file is renamed instead, never over a file.
    if (error != 0 && error != EEXIST && !name_.empty()) {
        error = renameat2(AT_FDCWD, name_.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0
                    ? 0
                    : errno;
        if (error == 0)
            name_ = path;
        return error;
    }
    if (error != 0)
        return error;
    if (!name_.empty()) {
        ownFileStep();
        unlink(name_.c_str());
    }
    name_ = path;
    return 0;
}

int FileBeside::nameAsOwn() {
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        return errno;
    int error = EEXIST;
    for (int attempt = 0; attempt < OwnNameAttempts && error == EEXIST; ++attempt) {
        const std::string own = ownNameBeside(beside_, pattern_, st.st_ino, attempt);
        error = name_ == own ? 0 : nameAs(own);
    }
    return error;
}

} // namespace platform
