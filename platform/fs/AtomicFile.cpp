#include "platform/fs/AtomicFile.h"

#include "platform/fs/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace fs = std::filesystem;

static std::string resolveLinks(const std::string& path) {
    std::error_code ec;
    fs::path p(path);
    if (fs::is_symlink(p, ec)) {
        fs::path real = fs::weakly_canonical(p, ec);
        if (!ec)
            return real.string();
    }
    return path;
}

// FNV-1a over the bytes as they are written, to check the copy before it goes in place.
static unsigned long long addToChecksum(unsigned long long sum, std::string_view bytes) {
    for (unsigned char c : bytes) {
        sum ^= c;
        sum *= 1099511628211ull;
    }
    return sum;
}

static bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
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

// Creates the file of a mkstemp pattern; its path, or empty with errno set.
static std::string createFromPattern(const std::string& pattern, int& fd) {
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd = mkstemp(buffer.data());
    return fd < 0 ? std::string() : std::string(buffer.data());
}

// A file nobody may write is read-only even to the superuser, as it is to every program
// that honours the mark.
static bool mayWrite(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, Links links)
    : target_(links == Links::Follow ? resolveLinks(path) : path) {
    fs::path target(target_);
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat st {};
    if (links == Links::Refuse && lstat(target_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        errno = 0;
        fail(target_ + " is a symbolic link, and Quillan does not write its own files through "
                       "links");
        return;
    }
    targetExists_ = stat(target_.c_str(), &st) == 0;
    if (targetExists_ && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        fail("cannot replace " + target_);
        return;
    }
    if (targetExists_ && !mayWrite(target_, st)) {
        readOnly_ = true;
        errno = EACCES;
        fail("you may not change " + target_);
        return;
    }
    temp_ = createFromPattern(tempPatternBeside(target_, "."), fd_);
    if (fd_ < 0) {
        fail("cannot create a file in " + folder.string());
        return;
    }
    if (targetExists_) {
        fchmod(fd_, st.st_mode & 07777);
        // The new file must be what the old one was; where it cannot be, the old one is
        // kept and written over.
        const bool sameOwner = fchown(fd_, st.st_uid, st.st_gid) == 0;
        inPlace_ = st.st_nlink > 1 || !sameOwner;
        if (!sameOwner)
            fchmod(fd_, 0600);
        return;
    }
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, 0666 & ~mask);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0)
        close(fd_);
    if (!committed_ && !temp_.empty())
        unlink(temp_.c_str());
}

void AtomicFileWriter::fail(const std::string& what) {
    if (error_.empty())
        error_ = what + (errno ? ": " + describeFileError(errno) : std::string());
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (!ok())
        return;
    if (!writeAll(fd_, bytes)) {
        fail("cannot write " + target_);
        return;
    }
    written_ += bytes.size();
    checksum_ = addToChecksum(checksum_, bytes);
}

// The copy on disk holds exactly the bytes written.
bool AtomicFileWriter::copyIsComplete() {
    if (lseek(fd_, 0, SEEK_SET) != 0)
        return false;
    std::vector<char> block(1 << 16);
    unsigned long long sum = 1469598103934665603ull, length = 0;
    for (;;) {
        ssize_t n = read(fd_, block.data(), block.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        sum = addToChecksum(sum, {block.data(), static_cast<size_t>(n)});
        length += static_cast<unsigned long long>(n);
    }
    return length == written_ && sum == checksum_;
}

// Writes the checked copy over the target. Space is claimed first, so that a full disk
// stops the write before the target is touched; should the write still fail, the complete
// copy is kept beside the target and named in the error.
void AtomicFileWriter::writeInPlace() {
    int out = open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (out < 0) {
        fail("cannot open " + target_);
        return;
    }
    struct stat st {};
    fstat(out, &st);
    const off_t newSize = static_cast<off_t>(written_);
    if (newSize > st.st_size && posix_fallocate(out, 0, newSize) != 0) {
        ftruncate(out, st.st_size);
        close(out);
        errno = ENOSPC;
        fail("cannot write " + target_);
        return;
    }
    bool copied = lseek(fd_, 0, SEEK_SET) == 0;
    std::vector<char> block(1 << 16);
    while (copied) {
        ssize_t n = read(fd_, block.data(), block.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            copied = n == 0;
            break;
        }
        copied = writeAll(out, {block.data(), static_cast<size_t>(n)});
    }
    copied = copied && ftruncate(out, newSize) == 0 && fsync(out) == 0;
    if (close(out) != 0)
        copied = false;
    if (!copied) {
        keptCopy_ = true; // the only complete copy stays
        fail("cannot write " + target_);
    }
}

WriteResult AtomicFileWriter::commit() {
    if (ok() && fsync(fd_) != 0)
        fail("cannot write " + target_);
    if (ok() && inPlace_) {
        if (!copyIsComplete())
            fail("cannot write " + target_);
        else
            writeInPlace();
    }
    if (fd_ >= 0 && close(fd_) != 0)
        fail("cannot write " + target_);
    fd_ = -1;
    if (!ok()) {
        committed_ = keptCopy_;
        return {false, error_, keptCopy_ ? temp_ : std::string()};
    }
    if (inPlace_)
        unlink(temp_.c_str());
    else if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail("cannot replace " + target_);
        return {false, error_, {}};
    }
    committed_ = true;
    return {true, {}, {}};
}

WriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                AtomicFileWriter::Links links) {
    AtomicFileWriter writer(path, links);
    writer.write(bytes);
    return writer.commit();
}

// Copies every byte of `in` to `out`; 0, or the errno of the failure.
static int copyAll(int in, int out) {
    std::vector<char> block(1 << 16);
    for (;;) {
        ssize_t n = read(in, block.data(), block.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return fsync(out) == 0 ? 0 : errno;
        if (!writeAll(out, {block.data(), static_cast<size_t>(n)}))
            return errno ? errno : EIO;
    }
}

CopyBeside copyBeside(const std::string& path, std::string_view tag, size_t longestPath) {
    CopyBeside copy;
    int out = -1;
    copy.path = createFromPattern(tempPatternBeside(path, tag, longestPath), out);
    if (out < 0) {
        copy.error = "cannot create a file beside " + path + ": " + describeFileError(errno);
        return copy;
    }
    int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int error = in < 0 ? errno : copyAll(in, out);
    if (in >= 0)
        close(in);
    if (close(out) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        copy.error = "cannot copy " + path + ": " + describeFileError(error);
        unlink(copy.path.c_str());
        copy.path.clear();
    }
    return copy;
}

std::optional<std::string> readFileBytes(const std::string& path) {
    std::error_code directory;
    if (fs::is_directory(path, directory))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // One read of the whole size where the size is known (megabyte workbooks); character by
    // character only for what has no size, such as a pipe.
    std::error_code ec;
    uintmax_t size = fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0;
    std::string bytes;
    if (!ec && size > 0) {
        bytes.resize(static_cast<size_t>(size));
        in.read(bytes.data(), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<size_t>(in.gcount()));
        in.clear(in.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
    }
    bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace platform
