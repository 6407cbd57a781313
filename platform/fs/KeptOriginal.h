#pragma once

#include "platform/fs/FileBeside.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The copy of a file as it was that a write over the file in place keeps beside it, as
// `.NAME.original-INODE` (with "-2", "-3", ... after it while that name is taken), until the
// new contents are wholly on disk.
//
// Besides the file's bytes as they were, the copy holds the new contents and a record,
// sealed with a checksum of the whole: the file's name, device and inode, both sizes and
// the file's times. The seal tells the copy from any file a person keeps beside the list.
// The record tells whether a file is still exactly what the write, stopped anywhere, can
// have left: at every place the bytes as they were or the new ones (a page may hold both,
// the one after the other, where a write stopped inside it), no longer than the longer of
// the two and no shorter than the shorter. That is the only file the copy is ever put back
// over; a file that was changed since, or a new file that took the name or the inode, is
// left as it is, and the copy is handed over: cut to the file as it was and named as the
// file before sorting (`list.txt.before-sorting`), it is then a plain file that holds
// nothing else and is no longer the program's.
struct KeptRecord {
    std::string name; // the file's name in its folder
    unsigned long long device = 0, inode = 0;
    unsigned long long oldSize = 0, newSize = 0;
    timespec accessed{};
    timespec modified{};
};

// The path of the copy kept of the file with this inode beside `path`; `number` 2 and up
// for the names tried while the first is taken.
std::string keptOriginalPath(const std::string& path, unsigned long long inode, int number = 1);

// Writes the copy into `kept`, a new empty file: the bytes of `file` from its start, those
// of `newContents` from its start, then the record, whose name, device, inode and times
// the caller gives and whose sizes are those copied. On disk when it returns 0; otherwise
// the errno of the failure.
int writeKeptOriginal(int kept, int file, int newContents, KeptRecord& record);

// Names the copy written into `kept` after the file at `path`; 0 or the errno value.
int nameKeptOriginal(FileBeside& kept, const std::string& path, unsigned long long inode);

// Puts the bytes as they were back over `file`, with its times, from the copy open at
// `kept`; 0 or the errno of the failure. Stopped anywhere, it leaves a file that is still
// what the write can have left (pages old or new, its size between the two), so that the
// next reading finishes it.
int putBackKeptOriginal(int kept, int file, const KeptRecord& record);

// The name a handed-over copy takes beside the file at `path`: the file's name and
// ".before-sorting", with "-2", "-3", ... after it while that name is taken.
std::string beforeSortingPath(const std::string& path, int number = 1);

// Hands the copy open at `kept`, named `keptPath`, over: the file as it was, with that
// file's times, is named after the file before sorting, beside it, and the copy goes. The
// new path, or "" with `error` set to the errno of the failure (the copy then stays).
std::string handOverKeptOriginal(int kept, const std::string& keptPath, const KeptRecord& record,
                                 int& error);

// The hidden name beside `path` under which a write in place holds the file with this inode
// while it writes it (`.NAME.held-INODE`): a link of the program's own to the file, beside
// the copy, so that the copy's folder keeps a name of the file whatever becomes of the
// person's names of it, and the copy can be put back through it. The name proves itself:
// only that inode is ever taken for the program's under it.
std::string heldNamePath(const std::string& path, unsigned long long inode);

// Links the file open at `fd`, named `path`, under its held name; the name, or "" where it
// cannot be held (a file system without links, or another file under that name).
std::string holdFile(int fd, const std::string& path);

// Removes a held name while it still names the file with this device and inode; a name that
// names another file is not the program's, and stays.
void releaseHeldName(const std::string& held, unsigned long long device, unsigned long long inode);

// Removes the held names in `folder` that no copy beside them belongs to (a kill came
// between holding a file and naming its copy, or between removing a copy and its held
// name), unless a write is at work on the file they hold. The caller holds the lock of the
// file with `lockedDevice` and `lockedInode`, so no write is at work on that one.
void releaseOrphanHeldNames(const std::string& folder, unsigned long long lockedDevice,
                            unsigned long long lockedInode);

// The files beside `path` that may be copies kept of it, or of a file whose names beside it
// include one the person replaced: named after the file with this inode (`ofThisInode`),
// after `path` itself with any inode, or after an inode a name in the folder still holds.
// Whether one is, its seal tells.
struct KeptCandidate {
    std::string path;
    bool ofThisInode = false;
    unsigned long long inode = 0; // the inode its name is made for
};
std::vector<KeptCandidate> keptOriginalCandidates(const std::string& path,
                                                  unsigned long long inode);

// A copy found beside a file, opened and locked for writing (a write that is still at work
// holds its copy's lock, so that only a copy left by a stopped write is dealt with).
class KeptOriginal {
public:
    explicit KeptOriginal(const std::string& path);
    ~KeptOriginal();
    KeptOriginal(const KeptOriginal&) = delete;
    KeptOriginal& operator=(const KeptOriginal&) = delete;

    // A copy of the program's own whose seal holds, and that no write is still working with.
    bool sealed() const { return sealed_; }
    // A write of the program is still working with it.
    bool inUse() const { return inUse_; }
    const KeptRecord& record() const { return record_; }
    const std::string& path() const { return path_; }

    // Whether `file` is exactly what the write that kept this copy can have left.
    bool leftIn(int file) const;
    // Puts the file as it was back over `file`; 0 or the errno of the failure.
    int putBack(int file) const;
    // Hands the copy over: the file as it was, with its times, named after the file before
    // sorting (path() then says where it is), and the copy gone; 0 or the errno of the
    // failure. It is then no longer sealed.
    int handOver();
    void remove();

private:
    bool readRecord();
    bool contentsAsSealed() const;

    std::string path_;
    int fd_ = -1;
    bool sealed_ = false;
    bool inUse_ = false;
    KeptRecord record_;
    unsigned long long contentsSum_ = 0;
};

} // namespace platform
