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
// left as it is, and the copy is handed over: cut to the file as it was, it is then a plain
// file that holds nothing else and is no longer the program's.
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
// `kept`; 0 or the errno of the failure.
int putBackKeptOriginal(int kept, int file, const KeptRecord& record);

// The files beside `path` that may be copies kept of it: named after the file with this
// inode, or after `path` itself with any inode. Whether one is, its seal tells.
std::vector<std::string> keptOriginalCandidates(const std::string& path, unsigned long long inode);

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
    const KeptRecord& record() const { return record_; }
    const std::string& path() const { return path_; }

    // Whether `file` is exactly what the write that kept this copy can have left.
    bool leftIn(int file) const;
    // Puts the file as it was back over `file`; 0 or the errno of the failure.
    int putBack(int file) const;
    // Cuts the copy to the file as it was, with that file's times; 0 or the errno of the
    // failure. It is then no longer sealed.
    int handOver();
    void remove();

private:
    bool readRecord();
    bool contentsAsSealed() const;

    std::string path_;
    int fd_ = -1;
    bool sealed_ = false;
    KeptRecord record_;
    unsigned long long contentsSum_ = 0;
};

} // namespace platform
