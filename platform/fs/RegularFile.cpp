#include "platform/fs/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

static std::string reasonFor(mode_t mode) {
    if (S_ISDIR(mode))
        return "It is a folder, not a file.";
    if (S_ISFIFO(mode))
        return "It is not a regular file: it is a named pipe.";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "It is not a regular file: it is a device.";
    if (S_ISSOCK(mode))
        return "It is not a regular file: it is a socket.";
    return "It is not a regular file.";
}

FileStatus statusOf(const std::string& path) {
    FileStatus status;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return status;
    status.exists = true;
    status.regular = S_ISREG(st.st_mode);
    status.size = st.st_size;
    if (!status.regular)
        status.notRegularReason = reasonFor(st.st_mode);
    return status;
}

std::string followLinks(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p(path);
    if (std::filesystem::is_symlink(p, ec)) {
        std::filesystem::path real = std::filesystem::weakly_canonical(p, ec);
        if (!ec)
            return real.string();
    }
    return path;
}

static FileStamp stampFrom(const struct stat& st) {
    return {st.st_size,
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec,
            st.st_dev, st.st_ino};
}

FileStamp stampOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? stampFrom(st) : FileStamp{};
}

FileStamp stampOfOpenFile(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 ? stampFrom(st) : FileStamp{};
}

std::FILE* openRegularFile(const std::string& path, std::string& why) {
    why.clear();
    // Without O_NONBLOCK, opening a named pipe waits for a writer.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0)
        why = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        why = reasonFor(st.st_mode);
    if (!why.empty()) {
        close(fd);
        return nullptr;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, "rb");
    if (!file) {
        why = std::strerror(errno);
        close(fd);
    }
    return file;
}

} // namespace platform
