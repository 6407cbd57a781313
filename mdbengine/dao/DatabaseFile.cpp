#include "mdbengine/dao/DatabaseFile.h"

#include "mdbengine/dao/Workspace.h"
#include "mdbengine/pages/DatabaseHeader.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/tables/Names.h"
#include "platform/fs/AtomicFile.h"
#include "platform/fs/RegularFile.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace mdbengine {

namespace fs = std::filesystem;
using platform::AtomicFileWriter;
using platform::WriteResult;

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
                           std::unique_ptr<file::PageStore> pages, bool encoded,
                           std::shared_ptr<Workspace> workspace)
    : path_(std::move(path)), options_(std::move(options)), pages_(std::move(pages)),
      encoded_(encoded),
      workspace_(workspace ? std::move(workspace) : std::make_shared<Workspace>()) {
    // A file opened inside transactions can go back to how it was opened.
    for (int level = 0; level < workspace_->transactionLevel(); ++level)
        snapshots_.push_back(pages_->snapshot());
}

// Nothing is written here: whatever was to land has been written by a flush that could
// tell its outcome, and what was refused must not land behind the caller's back.
DatabaseFile::~DatabaseFile() = default;

Status DatabaseFile::open(const std::string& path, const OpenOptions& options, Errors& errors,
                          std::shared_ptr<DatabaseFile>& file,
                          std::shared_ptr<Workspace> workspace) {
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
    const file::JetFormat* format = file::DatabaseHeader::recogniseFormat(first);
    auto size = static_cast<std::uint64_t>(info.st_size);
    if (format == nullptr || size % format->pageSize != 0 || size / format->pageSize < minimumPages)
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    std::vector<std::uint8_t> headerPage(format->pageSize);
    if (::pread(fd.get(), headerPage.data(), headerPage.size(), 0) !=
        static_cast<ssize_t>(headerPage.size()))
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    file::DatabaseHeader header(*format, headerPage);
    if (header.hasPassword() && !header.passwordMatches(options.password))
        return errors.fail(ErrorNumber::NotValidPassword);

    if (::flock(fd.get(), (options.exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0)
        return errors.fail(ErrorNumber::FileInUse, path);

    bool encoded = header.encodingKey() != 0;
    platform::FileStamp stamp = platform::stampOfOpenFile(fd.get());
    auto pages =
        std::make_unique<file::PageStore>(fd.release(), size, *format, header.encodingKey());
    std::shared_ptr<DatabaseFile> opened(
        new DatabaseFile(path, options, std::move(pages), encoded, workspace));
    opened->stamp_ = stamp;
    try {
        opened->catalog_ = file::Catalog::read(*opened->pages_);
    } catch (const file::FormatError&) {
        return errors.fail(ErrorNumber::UnrecognisedFormat, path);
    }
    opened->workspace_->add(opened);
    file = std::move(opened);
    return statusOk;
}

std::shared_ptr<const file::TableDefinition> DatabaseFile::tableDefinition(std::uint32_t page) {
    auto found = tables_.find(page);
    if (found != tables_.end())
        return found->second;
    file::TableDefinition definition = file::TableDefinition::read(*pages_, page);
    for (const file::CatalogEntry& entry : catalog_.tables())
        if (!entry.isLinked() && entry.tablePage() == page)
            for (const std::string& name : catalog_.requiredColumns(*pages_, entry))
                for (const file::Column& column : definition.columns)
                    if (file::sameName(column.name, name))
                        definition.requiredColumns.insert(column.number);
    auto table = std::make_shared<const file::TableDefinition>(std::move(definition));
    tables_.emplace(page, table);
    return table;
}

Status DatabaseFile::openLinked(const std::string& path, Errors& errors,
                                std::shared_ptr<DatabaseFile>& file, const std::string& password) {
    std::error_code ec;
    std::string key = fs::weakly_canonical(path, ec).string();
    if (ec)
        key = path;
    if ((file = linked_[key].lock()))
        return statusOk;
    OpenOptions options{false, options_.readOnly, password};
    if (Status status = open(path, options, errors, file, workspace_); failed(status))
        return status;
    linked_[key] = file;
    return statusOk;
}

bool DatabaseFile::fileWritable() const {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0 || (info.st_mode & 0222) == 0)
        return false;
    fs::path folder = fs::path(path_).parent_path();
    return ::access(path_.c_str(), W_OK) == 0 &&
           ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

Status DatabaseFile::checkChangesAllowed(Errors& errors) const {
    if (options_.readOnly)
        return errors.fail(ErrorNumber::ReadOnly);
    // Changes already waiting passed these checks, which the write makes again.
    if (pages_->hasChanges())
        return statusOk;
    return checkFileWritable(errors);
}

Status DatabaseFile::checkFileWritable(Errors& errors) const {
    if (options_.readOnly || !fileWritable())
        return errors.fail(ErrorNumber::ReadOnly);
    if (encoded_)
        return errors.fail(ErrorNumber::ReadOnly, {},
                           "Encoded databases are read here but not written.");
    if (lockFilePresent())
        return errors.fail(ErrorNumber::FileInUse, path_,
                           "Access has it open (" + lockFilePath() + ").");
    return statusOk;
}

file::TableWriter& DatabaseFile::writer(const file::TableDefinition& table) {
    auto& writer = writers_[table.page];
    if (!writer)
        writer = std::make_unique<file::TableWriter>(*pages_, table);
    return *writer;
}

void DatabaseFile::settleIndexes() {
    for (auto& [page, writer] : writers_)
        writer->flush();
}

void DatabaseFile::beginTransaction() {
    settleIndexes();
    snapshots_.push_back(pages_->snapshot());
}

void DatabaseFile::commitTransaction() {
    if (!snapshots_.empty())
        snapshots_.pop_back();
}

void DatabaseFile::rollbackTransaction() {
    if (snapshots_.empty())
        return;
    pages_->restore(std::move(snapshots_.back()));
    snapshots_.pop_back();
    writers_.clear();
    ++rowsVersion_;
}

// A write refused takes its changes with it, so that nothing of it lands later unasked (at
// the next write, or at exit).
Status DatabaseFile::flush(Errors& errors) {
    if (!pages_->hasChanges() || workspace_->transactionLevel() > 0)
        return statusOk;
    Status status = writeFile(errors);
    if (failed(status) && pages_->hasChanges())
        dropChanges();
    return status;
}

void DatabaseFile::dropChanges() {
    pages_->dropChanges();
    writers_.clear();
    ++rowsVersion_;
}

// The writer takes the file's write lock and holds it, with the stamp of the file this one
// read, until the new file has taken the name: a writer that came between is found then,
// not overwritten.
Status DatabaseFile::writeFile(Errors& errors) {
    if (Status status = checkFileWritable(errors); failed(status))
        return status;
    AtomicFileWriter writer(path_, AtomicFileWriter::Links::Follow, stamp_);
    if (writer.targetChanged())
        return errors.fail(ErrorNumber::ChangedByAnother, path_);
    try {
        settleIndexes();
        pages_->writeAll([&](std::span<const std::uint8_t> bytes) {
            writer.write({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
            return writer.ok();
        });
    } catch (const file::FormatError&) {
        return errors.fail(ErrorNumber::UnrecognisedFormat, path_);
    }
    WriteResult result = writer.commit();
    if (result.changed)
        return errors.fail(ErrorNumber::ChangedByAnother, path_);
    if (!result.ok) {
        std::string why = result.error;
        why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
        return errors.fail(ErrorNumber::WriteFailed, path_, why + ".");
    }
    return readWrittenFile(errors);
}

// The file just written is read from now on. Another writer may have put its own in place
// since, but only one made from this one (its stamp held it to ours), so it holds our changes.
Status DatabaseFile::readWrittenFile(Errors& errors) {
    int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errors.fail(ErrorNumber::InvalidOperation, path_,
                           "The changes were written, but the file cannot be opened again.");
    ::flock(fd, (options_.exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
    stamp_ = platform::stampOfOpenFile(fd);
    pages_->adoptFile(fd);
    return statusOk;
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

} // namespace mdbengine
