#pragma once

#include "platform/fs/FileBeside.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/KeptOriginal.h"
#include "platform/fs/RegularFile.h"
#include "platform/fs/WriteLease.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct WriteResult {
    bool ok = false;
    std::string error; // why it failed, for the user's message
    // Someone else changed or replaced the file while it was being written: what they made
    // of it was kept, and nothing of this write went in.
    bool changed = false;
    // When a write over the file in place failed and the file could not be put back as it
    // was: this file beside it holds it as it was (KeptOriginal.h), and the next reading of
    // the file puts it back.
    std::string keptCopy;
    // A file with other names, to be written over in place, in whose place another program
    // put a file of its own meanwhile (`changed` is set too): the path holds that file, kept
    // as it is. The file that was there keeps its other names in the folder, `otherNames`
    // (none where it has none there), and holds the new contents when `otherNamesWritten`
    // (the replacing came while it was written over), else what it held.
    bool replacedInPlace = false;
    bool otherNamesWritten = false;
    std::vector<std::string> otherNames;
    // A file written over in place into which another program wrote while it was written
    // (`changed` is set too): it holds some of that program's bytes and some of the new
    // contents, left as they are. The file as it was is in `asItWas`, handed over to the
    // person (KeptOriginal.h).
    bool writtenInto = false;
    std::string asItWas;
};

// The points of a write at which a test can stop it, to see what a kill there leaves.
enum class WriteStage {
    NewContentsWritten, // in the temporary file, before anything else happens
    OriginalKept,       // a write in place: the copy of the file as it was is beside it
    PartWrittenInPlace, // a write in place: the first block of the new contents is in it
    ReplacingTheFile,   // a rename: the last look at the file was taken, the rename follows
};
// Called at each of those points of every write of this process, when set; for tests.
void setWriteStageHook(void (*hook)(WriteStage));

// Replaces a file's contents without ever leaving it half written: the bytes go to a
// temporary file in the same folder (unnamed where the file system allows it, so that no
// kill can leave it behind), which is flushed and put in the file's place only when
// everything was written. A symbolic link is followed to the real file. The file keeps its
// owner, group and permissions; a file this user may not write (or that nobody may write,
// which even the superuser takes as read-only) is refused before anything is written.
//
// While it writes, the writer holds the file's advisory write lock, so that two writers of
// the program never write one file at once. The file must stay what it was when it was
// read (`expected`; without it, what it is when the writer starts): it is looked at again
// right before it is replaced, and the replacing itself is an exchange that is undone should
// the file have changed in the instant between, so that a save that lands during the write
// is kept and the write fails as changed.
//
// Where a rename would lose what the file is (it has other hard links, or its owner or
// group cannot be given to the new file), the finished copy is checked and then written over
// the file in place, so that every name of it shows the new contents. A copy of the file as
// it was is kept beside it (`.NAME.original-INODE`, KeptOriginal.h) until the new contents
// are wholly written and on disk: should the write fail it is put back at once, and should
// the process be killed or the power fail meanwhile, the next reading of the file puts it
// back, as long as the file is still what the write left (recoverInterruptedWrite). Once
// written, the file is read back: should another program have written into it meanwhile,
// the write fails as changed and the copy is handed over to the person. Over the write and
// its reading back the writer holds a lease on the file where it can: another program that
// opens the file to write it meanwhile waits, the file is put back as it was, and the write
// fails as changed, so that the other program's save follows the file as it was. The path
// is looked at once more when the file is written: should another program have put a file
// of its own in its place meanwhile, that file stays, and the write fails as changed,
// naming where the new contents went. No interrupt or termination signal ends the process
// in the middle of putting the file in place.
//
// The program's own files (the sort result, the settings) are written with Links::Refuse:
// a symbolic link in their place is refused, never followed, so that a link planted in the
// program folder cannot make Quillan replace a file elsewhere.
class AtomicFileWriter {
public:
    enum class Links { Follow, Refuse };
    explicit AtomicFileWriter(const std::string& path, Links links = Links::Follow,
                              std::optional<FileStamp> expected = std::nullopt);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter(); // abandons the temporary file unless committed

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // The target exists and this user may not write it: nothing was or will be written.
    bool targetReadOnly() const { return readOnly_; }
    // The target is no longer what it was expected to be: nothing was or will be written.
    bool targetChanged() const { return changed_; }
    void write(std::string_view bytes);
    WriteResult commit();

private:
    void fail(const std::string& what);
    void failChanged();
    bool openAndLockTarget(const std::optional<FileStamp>& expected, Links links);
    void giveTemporaryTheTargetsMode();
    bool stillAsExpected() const;
    bool holdsWhatWasWritten(int fd) const;
    void handOverAfterMixedWrite(FileBeside& kept);
    void replaceByRename();
    std::string nameForTheFileInPlace();
    bool exchangeIntoPlace();
    void writeOverOwnFile();
    void writeInPlace();
    bool keepOriginal(FileBeside& kept);
    void overwriteInPlace(FileBeside& kept, const WriteLease& lease);
    void giveWayToWriter(FileBeside& kept, const WriteLease& lease);
    void mark(const FileBeside& kept);
    bool grownByAnother(unsigned long long written) const;
    void removeKeptCopy(FileBeside& kept);
    void checkStillInPlace();

    std::string target_;
    std::unique_ptr<FileBeside> temp_;
    int targetFd_ = -1; // the target, open and locked for the whole write
    FileStamp expected_;
    std::string error_;
    std::string keptCopy_;
    KeptRecord kept_;
    std::string held_; // the file's held name while it is written in place
    bool marked_ = false;
    bool writtenIntoMeanwhile_ = false;
    std::vector<std::string> otherNames_;
    bool replacedInPlace_ = false;
    bool otherNamesWritten_ = false;
    bool writtenInto_ = false;
    std::string asItWas_;
    bool committed_ = false;
    bool readOnly_ = false;
    bool changed_ = false;
    bool inPlace_ = false;
    bool ownTarget_ = false;
    bool targetExists_ = false;
    unsigned long long written_ = 0;
    ByteChecksum checksum_;
};

// The whole file, or nothing when it cannot be read.
WriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                AtomicFileWriter::Links links = AtomicFileWriter::Links::Follow);

// A complete copy of a file, made beside it under its own name of the pattern
// (ownNameBeside), so that a copy a killed process left is known and removed; on failure
// nothing is left and error says why.
struct CopyBeside {
    std::string path;
    std::string error;
};
CopyBeside copyBeside(const std::string& path, const OwnFilePattern& pattern);

std::optional<std::string> readFileBytes(const std::string& path);

bool fileExists(const std::string& path);

} // namespace platform
