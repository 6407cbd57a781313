#include "platform/fs/AtomicFile.h"

#include <cerrno>
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

AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(resolveLinks(path)) {
    fs::path target(target_);
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd_ = mkstemp(buffer.data());
    if (fd_ < 0) {
        fail("cannot create a file in " + folder.string());
        return;
    }
    temp_ = buffer.data();
    struct stat st {};
    mode_t mode = 0644;
    if (stat(target_.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd_, mode);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0)
        close(fd_);
    if (!committed_ && !temp_.empty())
        unlink(temp_.c_str());
}

void AtomicFileWriter::fail(const std::string& what) {
    if (error_.empty())
        error_ = what + (errno ? std::string(": ") + std::strerror(errno) : std::string());
}

void AtomicFileWriter::write(std::string_view bytes) {
    while (ok() && !bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot write " + target_);
            return;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

WriteResult AtomicFileWriter::commit() {
    if (ok() && fsync(fd_) != 0)
        fail("cannot write " + target_);
    if (fd_ >= 0 && close(fd_) != 0)
        fail("cannot write " + target_);
    fd_ = -1;
    if (ok() && std::rename(temp_.c_str(), target_.c_str()) != 0)
        fail("cannot replace " + target_);
    if (!ok())
        return {false, error_};
    committed_ = true;
    return {true, {}};
}

WriteResult writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    return writer.commit();
}

std::optional<std::string> readFileBytes(const std::string& path) {
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
