#include "platform/fs/AtomicFile.h"

#include "platform/Interruption.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/InterruptedWrite.h"
#include "platform/fs/KeptMark.h"
#include "platform/fs/Leftovers.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace fs = std::filesystem;

namespace {

void (*stageHook)(WriteStage) = nullptr;

void reached(WriteStage stage) {
    if (stageHook)
        stageHook(stage);
}

// What the write over a file in place stops with when another program wrote into the file
// meanwhile (no errno value is negative).
constexpr int WrittenIntoMeanwhile = -1;

// A file nobody may write is read-only even to the superuser, as it is to every program
// that honours the mark.
bool mayWrite(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
}

bool exchange(const std::string& a, const std::string& b) {
    return renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

} // namespace

void setWriteStageHook(void (*hook)(WriteStage)) {
    stageHook = hook;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, Links links,
                                   std::optional<FileStamp> expected)
    : target_(links == Links::Follow ? followLinks(path) : path) {
    const std::string folder = folderOf(target_);
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
    if (!targetExists_ && expected && expected->size >= 0) {
        failChanged(); // the file read is gone
        return;
    }
    if (targetExists_ && !openAndLockTarget(expected, links))
        return;
    temp_ = std::make_unique<FileBeside>(target_, TemporaryFilePattern, 0666);
    if (!temp_->ok()) {
        errno = temp_->error();
        fail("cannot create a file in " + folder);
        return;
    }
    if (targetExists_)
        giveTemporaryTheTargetsMode();
    ownTarget_ = targetExists_ && isOwnFile(target_);
}

// Opens the target for the write and takes its lock; a copy of it kept by a write in place
// that was stopped is put back first, and what such writes left beside it is removed.
bool AtomicFileWriter::openAndLockTarget(const std::optional<FileStamp>& expected, Links links) {
    targetFd_ =
        open(target_.c_str(), O_RDWR | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0));
    if (targetFd_ < 0) {
        fail("cannot open " + target_);
        return false;
    }
    if (!lockForWriting(targetFd_)) {
        errno = 0;
        fail("another program is writing " + target_ + " at this moment");
        return false;
    }
    InterruptedWrite interrupted = restoreKeptOriginal(target_, targetFd_);
    if (!interrupted.damagedCopy.empty()) {
        errno = 0;
        fail("cannot write " + target_ + ": beside it, " + interrupted.damagedCopy +
             " is a damaged copy of it that Quillan kept while it wrote it");
        return false;
    }
    if (!interrupted.error.empty()) {
        errno = 0;
        fail(interrupted.error);
        return false;
    }
    removeLeftoverTemporaries(target_, {TemporaryFilePattern});
    expected_ = stampOfOpenFile(targetFd_);
    if ((expected && *expected != expected_) || stampOf(target_) != expected_) {
        failChanged();
        return false;
    }
    return true;
}

// The new file must be what the old one was; where it cannot be (another owner, other
// names), the old one is kept and written over.
void AtomicFileWriter::giveTemporaryTheTargetsMode() {
    struct stat st {};
    fstat(targetFd_, &st);
    fchmod(temp_->fd(), st.st_mode & 07777);
    const bool sameOwner = fchown(temp_->fd(), st.st_uid, st.st_gid) == 0;
    inPlace_ = st.st_nlink > 1 || !sameOwner;
    if (!sameOwner)
        fchmod(temp_->fd(), 0600);
}

AtomicFileWriter::~AtomicFileWriter() {
    temp_.reset(); // an unnamed file simply goes; a named one is removed
    if (targetFd_ >= 0)
        close(targetFd_);
}

void AtomicFileWriter::fail(const std::string& what) {
    if (error_.empty())
        error_ = what + (errno ? ": " + describeFileError(errno) : std::string());
}

// A file to be written over in place that the path no longer names was replaced: its other
// names are where the person finds it.
void AtomicFileWriter::failChanged() {
    changed_ = true;
    struct stat locked {};
    struct stat named {};
    if (inPlace_ && targetFd_ >= 0 && fstat(targetFd_, &locked) == 0 &&
        (stat(target_.c_str(), &named) != 0 || named.st_dev != locked.st_dev ||
         named.st_ino != locked.st_ino)) {
        replacedInPlace_ = true;
        otherNames_ = namesOfFileIn(folderOf(target_), locked.st_dev, locked.st_ino);
        std::erase(otherNames_, held_);
    }
    errno = 0;
    fail(target_ + " was changed by another program while Quillan was writing it");
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (!ok())
        return;
    if (int error = writeAll(temp_->fd(), bytes); error != 0) {
        errno = error;
        fail("cannot write " + target_);
        return;
    }
    written_ += bytes.size();
    checksum_.add(bytes);
}

// The file in place is the one the writer locked, as it was then.
bool AtomicFileWriter::stillAsExpected() const {
    return stampOfOpenFile(targetFd_) == expected_ && stampOf(target_) == expected_;
}

// The file holds exactly the bytes written: the copy before it goes in place, and the file
// written over in place after it, into which another program may have written meanwhile.
bool AtomicFileWriter::holdsWhatWasWritten(int fd) const {
    ByteChecksum sum;
    unsigned long long length = 0;
    const int error = readEachBlock(fd, [&](std::string_view block) {
        sum.add(block);
        length += block.size();
        return 0;
    });
    return error == 0 && length == written_ && sum.value() == checksum_.value();
}

// The new file is named beside the target, the target looked at once more, and the two
// exchanged. If a save landed in the instant before the exchange, the exchange is undone and
// the save stays.
void AtomicFileWriter::replaceByRename() {
    if (int error = temp_->nameAsOwn(); error != 0) {
        errno = error;
        fail("cannot create a file in " + folderOf(target_));
        return;
    }
    if (targetExists_ && !stillAsExpected()) {
        failChanged();
        return;
    }
    reached(WriteStage::ReplacingTheFile);
    if (targetExists_ && exchangeIntoPlace())
        return;
    // Without an exchange (a file system that has none), the last look must do.
    ownFileStep();
    if (std::rename(temp_->name().c_str(), target_.c_str()) != 0) {
        fail("cannot replace " + target_);
        return;
    }
    temp_->forgetName();
    syncFolderOf(target_);
}

// The name of the program's own that the file in place calls for, given to the new file as
// well: exchanged with the target's name, it then holds the file that was in place, which it
// proves the program's, so that whenever a kill comes every name of the program's own beside
// the target proves itself for the file it holds. "" when it could not be made.
std::string AtomicFileWriter::nameForTheFileInPlace() {
    struct stat inPlace {};
    fstat(targetFd_, &inPlace);
    int error = EEXIST;
    for (int attempt = 0; attempt < OwnNameAttempts && error == EEXIST; ++attempt) {
        const std::string name =
            ownNameBeside(target_, TemporaryFilePattern, inPlace.st_ino, attempt);
        ownFileStep();
        error = link(temp_->name().c_str(), name.c_str()) == 0 ? 0 : errno;
        if (error == 0)
            return name;
    }
    errno = error;
    fail("cannot create a file in " + folderOf(target_));
    return {};
}

// False when the file system has no exchange (nothing was done); true when the exchange was
// made, or the write failed.
bool AtomicFileWriter::exchangeIntoPlace() {
    const std::string moved = nameForTheFileInPlace();
    if (moved.empty())
        return true;
    ownFileStep();
    if (!exchange(moved, target_)) {
        const int why = errno;
        ownFileStep();
        unlink(moved.c_str());
        errno = why;
        if (why == EINVAL || why == ENOSYS || why == EOPNOTSUPP)
            return false;
        fail("cannot replace " + target_);
        return true;
    }
    if (stampOf(moved) == expected_) {
        // The new file keeps the target's name alone, and the old one goes.
        ownFileStep();
        unlink(temp_->name().c_str());
        temp_->forgetName();
        ownFileStep();
        unlink(moved.c_str());
        syncFolderOf(target_);
        return true;
    }
    ownFileStep();
    if (exchange(moved, target_)) {
        ownFileStep();
        unlink(moved.c_str());
    } else {
        keptCopy_ = moved; // the save, which the target's name no longer shows
    }
    failChanged();
    return true;
}

// The program's own file (the Access engine's work copy) holds nobody's work: it is written
// over directly, and so keeps the inode by which its name proves it the program's whenever
// a kill comes.
void AtomicFileWriter::writeOverOwnFile() {
    if (!stillAsExpected()) {
        failChanged();
        return;
    }
    ownFileStep();
    if (int error = copyOver(temp_->fd(), targetFd_); error != 0) {
        errno = error;
        fail("cannot write " + target_);
    }
}

// Copies the file as it is now beside it, with the new contents and the record that tells
// them, under the name that tells which file it belongs to, and has it reach the disk before
// the file is touched. The copy stays locked, so that no reading takes it for one a stopped
// write left.
bool AtomicFileWriter::keepOriginal(FileBeside& kept) {
    if (!kept.ok()) {
        errno = kept.error();
        fail("cannot create a file in " + folderOf(target_));
        return false;
    }
    lockForWriting(kept.fd());
    struct stat st {};
    fstat(targetFd_, &st);
    kept_ = {
        fs::path(target_).filename().string(), st.st_dev, st.st_ino, 0, 0, st.st_atim, st.st_mtim};
    if (int error = writeKeptOriginal(kept.fd(), targetFd_, temp_->fd(), kept_); error != 0) {
        errno = error;
        fail("cannot keep a copy of " + target_ + " while it is written");
        return false;
    }
    if (!stillAsExpected()) {
        failChanged();
        return false;
    }
    // The file is held beside the copy before the copy has a name, so that no copy is ever
    // found without it; a held name without a copy is cleaned by the next reading.
    ownFileStep();
    held_ = holdFile(targetFd_, target_);
    if (int error = nameKeptOriginal(kept, target_, st.st_ino); error != 0) {
        errno = error;
        fail("cannot keep a copy of " + target_ + " while it is written");
        return false;
    }
    syncFolderOf(target_);
    return true;
}

// Space is claimed first, without changing the file's size, so that a full disk stops the
// write before the file is touched; should the write still fail, the file is put back from
// the copy kept, and only if that fails too does the copy stay, named in the error. A
// program that comes to write the file stops the write before the next block, and the
// caller gives way to it.
void AtomicFileWriter::overwriteInPlace(FileBeside& kept, const WriteLease& lease) {
    // The last look: claiming space changes the file's time of change.
    if (!stillAsExpected()) {
        failChanged();
        return;
    }
    const off_t newSize = static_cast<off_t>(written_);
    if (fallocate(targetFd_, FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS) {
        fail("cannot write " + target_);
        return;
    }
    mark(kept);
    bool first = true;
    const int error = copyOver(temp_->fd(), targetFd_, [&](unsigned long long written) {
        if (first)
            reached(WriteStage::PartWrittenInPlace);
        first = false;
        if (lease.writerArrived())
            return ECANCELED;
        return grownByAnother(written) ? WrittenIntoMeanwhile : 0;
    });
    if (error == 0 || error == ECANCELED)
        return;
    if (error == WrittenIntoMeanwhile) {
        // What the other program wrote stays: nothing is put over it.
        writtenIntoMeanwhile_ = true;
        return;
    }
    if (putBackKeptOriginal(kept.fd(), targetFd_, kept_) == 0) {
        removeKeptCopy(kept);
    } else {
        kept.keepName();
        keptCopy_ = kept.name();
    }
    errno = error;
    fail("cannot write " + target_);
}

// Another program opened the file to write it while it was written over. While it still
// waits for the lease, nothing but this write is in the file: the file is put back as it was,
// and the other program's save then follows it. Once the lease was taken away, that program
// may have written too, and the file is left as the two made it.
void AtomicFileWriter::giveWayToWriter(FileBeside& kept, const WriteLease& lease) {
    if (!lease.stillHeld()) {
        handOverAfterMixedWrite(kept);
        return;
    }
    if (int error = putBackKeptOriginal(kept.fd(), targetFd_, kept_); error != 0) {
        kept.keepName();
        keptCopy_ = kept.name();
        errno = error;
        fail("cannot write " + target_);
        return;
    }
    removeKeptCopy(kept);
    failChanged();
}

// Written over in place from its start, the file is as long as it was or as far as the
// new contents reach, whichever is longer; longer than that, another program appended to it
// (an editor that saves a file with other names in place): seen after each block, before
// the file is cut to the new length, which would cut that program's bytes off unseen.
bool AtomicFileWriter::grownByAnother(unsigned long long written) const {
    struct stat st {};
    return fstat(targetFd_, &st) == 0 &&
           static_cast<unsigned long long>(st.st_size) > std::max(kept_.oldSize, written);
}

// Before the file is touched, it is given a mark that names the copy, so that a reading
// after a kill finds the copy through any name of the file, in any folder; and the copy's
// folder has the held name (keepOriginal), through which the copy goes back whatever the
// person did with the names meanwhile. Neither is needed for the write itself: where the
// file system allows neither, the write goes on without them.
void AtomicFileWriter::mark(const FileBeside& kept) {
    ownFileStep();
    marked_ = markKeptCopy(targetFd_, kept.name()) == 0;
}

// The copy is no longer needed: it goes first, then the held name and the mark, each of
// which a kill may leave without the copy, and which the next reading then cleans.
void AtomicFileWriter::removeKeptCopy(FileBeside& kept) {
    if (!kept.name().empty()) {
        kept.close();
        ownFileStep();
        unlink(kept.name().c_str());
        kept.forgetName();
        syncFolderOf(target_);
    }
    releaseHeldName(held_, kept_.device, kept_.inode);
    held_.clear();
    if (marked_) {
        ownFileStep();
        unmarkKeptCopy(targetFd_);
        marked_ = false;
    }
}

void AtomicFileWriter::writeInPlace() {
    if (!holdsWhatWasWritten(temp_->fd())) {
        fail("cannot write " + target_);
        return;
    }
    // Held until the file is read back.
    WriteLease lease(targetFd_);
    if (!stillAsExpected()) {
        failChanged();
        return;
    }
    FileBeside kept(target_, TemporaryFilePattern, 0600);
    const bool keptCopy = keepOriginal(kept);
    if (keptCopy) {
        reached(WriteStage::OriginalKept);
        overwriteInPlace(kept, lease);
    }
    if (!keptCopy_.empty())
        return;
    if (keptCopy && ok() && lease.writerArrived()) {
        giveWayToWriter(kept, lease);
        return;
    }
    if (keptCopy && ok() && (writtenIntoMeanwhile_ || !holdsWhatWasWritten(targetFd_))) {
        handOverAfterMixedWrite(kept);
        return;
    }
    removeKeptCopy(kept);
    if (ok())
        checkStillInPlace();
}

// Another program wrote into the file while it was written over (an editor that saves a
// file with other names in place): it holds some of each, and neither is put over the
// other. The copy as it was becomes the person's, named after the file before sorting.
void AtomicFileWriter::handOverAfterMixedWrite(FileBeside& kept) {
    int error = 0;
    asItWas_ = handOverKeptOriginal(kept.fd(), kept.name(), kept_, error);
    if (asItWas_.empty()) {
        // Not handed over, it stays sealed (held and marked), and the next reading hands it
        // over.
        kept.keepName();
        asItWas_ = kept.name();
    } else {
        kept.forgetName();
        removeKeptCopy(kept);
    }
    writtenInto_ = true;
    changed_ = true;
    errno = 0;
    fail("another program wrote into " + target_ + " while Quillan was writing it");
}

// Written over in place, the file must still be the one its path names: a save renamed over
// the path meanwhile stays there, and only the file's other names show the new contents.
void AtomicFileWriter::checkStillInPlace() {
    struct stat written {};
    struct stat named {};
    fstat(targetFd_, &written);
    if (stat(target_.c_str(), &named) == 0 && named.st_dev == written.st_dev &&
        named.st_ino == written.st_ino)
        return;
    otherNamesWritten_ = true;
    failChanged();
}

WriteResult AtomicFileWriter::commit() {
    if (ok() && fsync(temp_->fd()) != 0)
        fail("cannot write " + target_);
    if (ok()) {
        reached(WriteStage::NewContentsWritten);
        // From here to the end, the file is put in place whatever signal comes.
        WriteInProgress writing;
        if (ownTarget_)
            writeOverOwnFile();
        else if (inPlace_)
            writeInPlace();
        else
            replaceByRename();
        temp_.reset();
    }
    temp_.reset();
    if (targetFd_ >= 0)
        close(targetFd_);
    targetFd_ = -1;
    if (!ok())
        return {false,       error_,           changed_,
                keptCopy_,   replacedInPlace_, otherNamesWritten_,
                otherNames_, writtenInto_,     asItWas_};
    committed_ = true;
    return {true, {}, false, {}, false, false, {}, false, {}};
}

WriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                AtomicFileWriter::Links links) {
    AtomicFileWriter writer(path, links);
    writer.write(bytes);
    return writer.commit();
}

CopyBeside copyBeside(const std::string& path, const OwnFilePattern& pattern) {
    CopyBeside copy;
    FileBeside out(path, pattern, 0600);
    int error = out.ok() ? out.nameAsOwn() : out.error();
    if (error != 0) {
        copy.error = "cannot create a file beside " + path + ": " + describeFileError(error);
        return copy;
    }
    int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    error = in < 0 ? errno : copyOver(in, out.fd());
    if (in >= 0)
        close(in);
    if (int closing = out.close(); closing != 0 && error == 0)
        error = closing;
    if (error != 0) {
        copy.error = "cannot copy " + path + ": " + describeFileError(error);
        return copy;
    }
    out.keepName();
    copy.path = out.name();
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
