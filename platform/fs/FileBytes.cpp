#include "platform/fs/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace platform {

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int readEachBlock(int fd, const std::function<int(std::string_view)>& take, ByteRange range) {
    if (lseek(fd, static_cast<off_t>(range.from), SEEK_SET) < 0)
        return errno;
    std::vector<char> block(1 << 16);
    for (unsigned long long left = range.length; left > 0;) {
        ssize_t n = read(fd, block.data(), std::min<unsigned long long>(block.size(), left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        left -= static_cast<unsigned long long>(n);
        if (int error = take({block.data(), static_cast<size_t>(n)}); error != 0)
            return error;
    }
    return 0;
}

int readAt(int fd, unsigned long long offset, size_t length, std::string& into) {
    into.resize(length);
    size_t got = 0;
    while (got < length) {
        ssize_t n = pread(fd, into.data() + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    into.resize(got);
    return 0;
}

int copyOver(int in, int out, const AfterBlock& afterEachBlock, ByteRange range) {
    if (lseek(out, 0, SEEK_SET) != 0)
        return errno;
    off_t length = 0;
    const int error = readEachBlock(
        in,
        [&](std::string_view block) {
            if (int failed = writeAll(out, block); failed != 0)
                return failed;
            length += static_cast<off_t>(block.size());
            return afterEachBlock ? afterEachBlock(static_cast<unsigned long long>(length)) : 0;
        },
        range);
    if (error != 0)
        return error;
    if (ftruncate(out, length) != 0 || fsync(out) != 0)
        return errno;
    return 0;
}

void syncFolderOf(const std::string& path) {
    std::filesystem::path p(path);
    const std::string folder = p.has_parent_path() ? p.parent_path().string() : ".";
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

bool lockForWriting(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    // A file system without such locks leaves the file unlocked rather than unwritable.
    return fcntl(fd, F_OFD_SETLK, &lock) == 0 || (errno != EAGAIN && errno != EACCES);
}

void ByteChecksum::add(std::string_view bytes) {
    for (unsigned char c : bytes) {
        sum_ ^= c;
        sum_ *= 1099511628211ull;
    }
}

} // namespace platform
