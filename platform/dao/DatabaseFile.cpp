#include "platform/dao/DatabaseFile.h"

#include "platform/dao/jet/DatabaseHeader.h"
#include "platform/dao/jet/FormatError.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform::dao {

namespace fs = std::filesystem;

namespace {

// Page 0, 1 (the database's own usage map) and 2 (the catalogue) at least.
constexpr std::uint64_t minimumPages = 3;
constexpr std::size_t signatureBytes = 0x20;

Status missingFile(const std::string& path, Errors& errors) {
    std::error_code ec;
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec))
        return errors.fail(ErrorNumber::InvalidPath, path);
    return errors.fail(ErrorNumber::FileNotFound, path);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

} // namespace

DatabaseFile::DatabaseFile(std::string path, OpenOptions options,
                           std::unique_ptr<jet::PageStore> pages)
    : path_(std::move(path)), options_(std::move(options)), pages_(std::move(pages)) {}

Status DatabaseFile::open(const std::string& path, const OpenOptions& options, Errors& errors,
                          std::shared_ptr<DatabaseFile>& file) {
    file.reset();
    struct stat info {};
    if (path.empty())
        return errors.fail(ErrorNumber::FileNotFound, path);
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR
                   ? missingFile(path, errors)
                   : errors.fail(ErrorNumber::UnrecognisedFormat, path);
    if (!S_ISREG(info.st_mode))
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);

    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    std::uint8_t first[signatureBytes] = {};
    if (::pread(fd.get(), first, sizeof first, 0) != static_cast<ssize_t>(sizeof first))
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    const jet::JetFormat* format = jet::DatabaseHeader::recogniseFormat(first);
    auto size = static_cast<std::uint64_t>(info.st_size);
    if (format == nullptr || size % format->pageSize != 0 || size / format->pageSize < minimumPages)
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    std::vector<std::uint8_t> headerPage(format->pageSize);
    if (::pread(fd.get(), headerPage.data(), headerPage.size(), 0) !=
        static_cast<ssize_t>(headerPage.size()))
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    jet::DatabaseHeader header(*format, headerPage);
    if (header.hasPassword() && !header.passwordMatches(options.password))
        return errors.fail(ErrorNumber::NotValidPassword);

    if (::flock(fd.get(), (options.exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0)
        return errors.fail(ErrorNumber::FileInUse, path);

    auto pages =
        std::make_unique<jet::PageStore>(fd.release(), size, *format, header.encodingKey());
    std::shared_ptr<DatabaseFile> opened(new DatabaseFile(path, options, std::move(pages)));
    try {
        opened->catalog_ = jet::Catalog::read(*opened->pages_);
    } catch (const jet::FormatError&) {
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    }
    file = std::move(opened);
    return statusOk;
}

std::shared_ptr<const jet::TableDefinition> DatabaseFile::tableDefinition(std::uint32_t page) {
    auto found = tables_.find(page);
    if (found != tables_.end())
        return found->second;
    auto table =
        std::make_shared<const jet::TableDefinition>(jet::TableDefinition::read(*pages_, page));
    tables_.emplace(page, table);
    return table;
}

bool DatabaseFile::fileWritable() const {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0 || (info.st_mode & 0222) == 0)
        return false;
    return ::access(path_.c_str(), W_OK) == 0;
}

std::string DatabaseFile::lockFilePath() const {
    return fs::path(path_).replace_extension(".ldb").string();
}

bool DatabaseFile::lockFilePresent() const {
    std::error_code ec;
    fs::path lower = lockFilePath();
    fs::path upper = fs::path(path_).replace_extension(".LDB");
    return fs::exists(lower, ec) || fs::exists(upper, ec);
}

} // namespace platform::dao
