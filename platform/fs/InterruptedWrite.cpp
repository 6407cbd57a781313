#include "platform/fs/InterruptedWrite.h"

#include "platform/Interruption.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/KeptOriginal.h"
#include "platform/fs/RegularFile.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

// The copy was kept of this very file: its device and inode are this file's, and the name
// it records names this file in its folder (by the name read, or by another of its names).
bool keptOfThisFile(const KeptRecord& record, const std::string& path, const struct stat& st) {
    if (record.device != st.st_dev || record.inode != st.st_ino)
        return false;
    const std::string named = (fs::path(folderOf(path)) / record.name).string();
    struct stat byName {};
    return lstat(named.c_str(), &byName) == 0 && byName.st_dev == st.st_dev &&
           byName.st_ino == st.st_ino;
}

struct Recovery {
    const std::string& path;
    int fd;
    bool writable;
    bool handOver; // the copies that are not put back are handed over (the caller tells)
};

// Puts the file back from a copy that belongs to it; on failure the copy stays, handed over
// when the person is to be told to put it back by hand.
void putBack(const Recovery& r, KeptOriginal& copy, InterruptedWrite& found) {
    found.keptCopy = copy.path();
    int error = r.writable ? 0 : EACCES;
    if (error == 0) {
        WriteInProgress writing;
        error = copy.putBack(r.fd);
    }
    if (error != 0) {
        found.error =
            "cannot put " + r.path + " back from " + copy.path() + ": " + describeFileError(error);
        if (r.handOver)
            copy.handOver();
        return;
    }
    copy.remove();
    syncFolderOf(r.path);
    found.restored = true;
}

InterruptedWrite recover(const Recovery& r) {
    InterruptedWrite found;
    struct stat st {};
    if (fstat(r.fd, &st) != 0)
        return found;
    for (const std::string& candidate : keptOriginalCandidates(r.path, st.st_ino)) {
        KeptOriginal copy(candidate);
        if (!copy.sealed())
            continue;
        if (found.keptCopy.empty() && keptOfThisFile(copy.record(), r.path, st) &&
            copy.leftIn(r.fd)) {
            putBack(r, copy, found);
            continue;
        }
        if (r.handOver && copy.handOver() == 0)
            found.leftAlone.push_back({candidate, copy.record().name});
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
