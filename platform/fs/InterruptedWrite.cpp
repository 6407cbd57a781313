#include "platform/fs/InterruptedWrite.h"

#include "platform/Interruption.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/KeptOriginal.h"
#include "platform/fs/RegularFile.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

struct Recovery {
    const std::string& path;
    int fd;
    bool writable;
    bool handOver; // the copies that are not put back are handed over (the caller tells)
};

// The file a copy was kept of, open for writing and locked, when a name still holds it: the
// file read, or one of the names beside the copy.
struct KeptFile {
    int fd = -1;
    bool writable = false;
    bool owned = false; // opened here, closed with this
    bool busy = false;  // another writer holds it
    std::vector<std::string> names;
    KeptFile() = default;
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;
    ~KeptFile() {
        if (owned)
            close(fd);
    }
};

bool sameFile(const struct stat& st, const KeptRecord& record) {
    return st.st_dev == record.device && st.st_ino == record.inode;
}

// Opens the first of `names` that is still the file, for writing (for reading alone where
// this user may not write it, to tell what it holds), and locks it.
void openKeptFile(KeptFile& file, const KeptRecord& record) {
    for (const std::string& name : file.names) {
        int fd = open(name.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        const bool writable = fd >= 0;
        if (!writable)
            fd = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !sameFile(st, record)) {
            if (fd >= 0)
                close(fd);
            continue;
        }
        file.fd = fd;
        file.owned = true;
        file.writable = writable;
        file.busy = writable && !lockForWriting(fd);
        return;
    }
}

void findKeptFile(KeptFile& file, const Recovery& r, const struct stat& read,
                  const KeptOriginal& copy) {
    const KeptRecord& record = copy.record();
    file.names = namesOfFileIn(folderOf(copy.path()), record.device, record.inode);
    if (sameFile(read, record)) {
        if (std::find(file.names.begin(), file.names.end(), r.path) == file.names.end())
            file.names.push_back(r.path);
        std::sort(file.names.begin(), file.names.end());
        file.fd = r.fd;
        file.writable = r.writable;
        return;
    }
    // Only a reading puts back a file other than the one it reads; a writer leaves it to
    // the reading.
    if (r.handOver)
        openKeptFile(file, record);
}

// Puts the file back from a copy that belongs to it; on failure the copy stays, handed over
// when the person is to be told to put it back by hand.
void putBack(const Recovery& r, KeptOriginal& copy, const KeptFile& file, InterruptedWrite& found) {
    found.keptCopy = copy.path();
    found.fileName = copy.record().name;
    found.names = file.names;
    int error = file.writable ? 0 : EACCES;
    if (error == 0) {
        WriteInProgress writing;
        error = copy.putBack(file.fd);
    }
    if (error != 0) {
        found.error = "cannot put " + file.names.front() + " back from " + copy.path() + ": " +
                      describeFileError(error);
        if (r.handOver && copy.handOver() == 0)
            found.keptCopy = copy.path();
        return;
    }
    copy.remove();
    syncFolderOf(copy.path());
    found.restored = true;
}

InterruptedWrite recover(const Recovery& r) {
    InterruptedWrite found;
    struct stat st {};
    if (fstat(r.fd, &st) != 0)
        return found;
    for (const KeptCandidate& candidate : keptOriginalCandidates(r.path, st.st_ino)) {
        KeptOriginal copy(candidate.path);
        if (copy.inUse())
            continue;
        if (!copy.sealed()) {
            if (candidate.ofThisInode && found.damagedCopy.empty())
                found.damagedCopy = candidate.path;
            continue;
        }
        KeptFile file;
        findKeptFile(file, r, st, copy);
        if (file.busy)
            continue;
        if (file.fd >= 0 && copy.leftIn(file.fd)) {
            // One at a time: another one that fits is put back by the next reading.
            if (found.keptCopy.empty())
                putBack(r, copy, file, found);
            continue;
        }
        if (r.handOver && copy.handOver() == 0)
            found.leftAlone.push_back({copy.path(), copy.record().name,
                                       file.fd >= 0 ? file.names : std::vector<std::string>{}});
    }
    return found;
}

} // namespace

InterruptedWrite restoreKeptOriginal(const std::string& path, int fd) {
    return recover({path, fd, true, false});
}

InterruptedWrite recoverInterruptedWrite(const std::string& path,
                                         std::initializer_list<OwnFilePattern> leftovers) {
    const std::string target = followLinks(path);
    struct stat st {};
    if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    int fd = open(target.c_str(), O_RDWR | O_CLOEXEC);
    const bool writable = fd >= 0;
    if (!writable)
        fd = open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    InterruptedWrite found;
    if (!writable || lockForWriting(fd)) {
        found = recover({target, fd, writable, true});
        if (writable) {
            removeLeftoverTemporaries(target, {TemporaryFilePattern});
            if (leftovers.size() > 0)
                removeLeftoverTemporaries(target, leftovers);
        }
    }
    close(fd);
    return found;
}

} // namespace platform
