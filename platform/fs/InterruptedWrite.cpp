#include "platform/fs/InterruptedWrite.h"

#include "platform/Interruption.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/KeptMark.h"
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
// file read, one of the person's names beside the copy, or the program's held name there.
struct KeptFile {
    int fd = -1;
    bool writable = false;
    bool owned = false; // opened here, closed with this
    bool busy = false;  // another writer holds it
    // The person's names of it: those beside the copy, and the name read when that is it.
    std::vector<std::string> names;
    std::string held;             // the program's own name of it beside the copy, if any
    unsigned long long links = 0; // all its names, wherever they are
    KeptFile() = default;
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;
    ~KeptFile() {
        if (owned)
            close(fd);
    }
    // The person's names of it in other folders, which no reading can list.
    int namesElsewhere() const {
        const unsigned long long known = names.size() + (held.empty() ? 0 : 1);
        return links > known ? static_cast<int>(links - known) : 0;
    }
    // No name of the person's holds it any more, anywhere.
    bool nobodysAnyMore() const { return fd >= 0 && links <= (held.empty() ? 0u : 1u); }
};

bool sameFile(const struct stat& st, const KeptRecord& record) {
    return st.st_dev == record.device && st.st_ino == record.inode;
}

// Opens the first of `names` that is still the file, for writing (for reading alone where
// this user may not write it, to tell what it holds), and locks it.
void openKeptFile(KeptFile& file, const std::vector<std::string>& names, const KeptRecord& record) {
    for (const std::string& name : names) {
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
    const std::string folder = folderOf(copy.path());
    const std::string held = heldNamePath((fs::path(folder) / record.name).string(), record.inode);
    for (std::string& name : namesOfFileIn(folder, record.device, record.inode)) {
        if (name == held)
            file.held = held;
        else
            file.names.push_back(std::move(name));
    }
    if (sameFile(read, record)) {
        if (std::find(file.names.begin(), file.names.end(), r.path) == file.names.end())
            file.names.push_back(r.path);
        std::sort(file.names.begin(), file.names.end());
        file.fd = r.fd;
        file.writable = r.writable;
        file.links = read.st_nlink;
        return;
    }
    // Only a reading puts back a file other than the one it reads; a writer leaves it to
    // the reading.
    if (!r.handOver)
        return;
    std::vector<std::string> tried = file.names;
    if (!file.held.empty())
        tried.push_back(file.held);
    openKeptFile(file, tried, record);
    struct stat st {};
    if (file.fd >= 0 && fstat(file.fd, &st) == 0)
        file.links = st.st_nlink;
}

// The copy is gone with its held name, and the file's mark with them.
void letGoOf(KeptOriginal& copy, const KeptFile& file) {
    copy.remove();
    syncFolderOf(copy.path());
    releaseHeldName(file.held, copy.record().device, copy.record().inode);
    if (file.fd >= 0)
        unmarkKeptCopy(file.fd);
}

// Puts the file back from a copy that belongs to it; on failure the copy stays, handed over
// when the person is to be told to put it back by hand.
void putBack(const Recovery& r, KeptOriginal& copy, const KeptFile& file, InterruptedWrite& found) {
    found.keptCopy = copy.path();
    found.fileName = copy.record().name;
    found.names = file.names;
    found.namesElsewhere = file.namesElsewhere();
    int error = file.writable ? 0 : EACCES;
    if (error == 0) {
        WriteInProgress writing;
        error = copy.putBack(file.fd);
    }
    if (error != 0) {
        found.error = "cannot put " +
                      (file.names.empty() ? copy.record().name : file.names.front()) +
                      " back from " + copy.path() + ": " + describeFileError(error);
        if (r.handOver && copy.handOver() == 0)
            found.keptCopy = copy.path();
        return;
    }
    letGoOf(copy, file);
    found.restored = true;
}

// A copy that does not belong to the file as it is now, handed over to the person; the held
// name and the mark go after it (a kill between leaves them without a copy, which the next
// reading cleans).
void handOver(KeptOriginal& copy, const KeptFile& file, InterruptedWrite& found) {
    if (copy.handOver() != 0)
        return;
    releaseHeldName(file.held, copy.record().device, copy.record().inode);
    if (file.fd >= 0)
        unmarkKeptCopy(file.fd);
    found.leftAlone.push_back({copy.path(), copy.record().name,
                               file.fd >= 0 ? file.names : std::vector<std::string>{},
                               file.fd >= 0 ? file.namesElsewhere() : 0});
}

// Whether a copy's name is one the program gives the copy kept of the file with this inode.
bool namedForInode(const std::string& copy, unsigned long long inode) {
    const std::string name = fs::path(copy).filename().string();
    const std::string tag = ".original-" + std::to_string(inode);
    const size_t at = name.rfind(tag);
    return at != std::string::npos &&
           (at + tag.size() == name.size() || name[at + tag.size()] == '-');
}

// The copies that may be kept of the file read: those beside it, and the one its mark names
// wherever that is (a name in another folder than the copy's). A mark that names no copy
// kept of this very file is stale, and goes.
std::vector<KeptCandidate> candidatesFor(const Recovery& r, const struct stat& read) {
    std::vector<KeptCandidate> found = keptOriginalCandidates(r.path, read.st_ino);
    const std::string marked = markedKeptCopy(r.fd);
    if (marked.empty())
        return found;
    struct stat st {};
    const bool there = stat(marked.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    for (const KeptCandidate& candidate : found) {
        struct stat known {};
        if (there && stat(candidate.path.c_str(), &known) == 0 && known.st_ino == st.st_ino &&
            known.st_dev == st.st_dev)
            return found;
    }
    bool ours = there && namedForInode(marked, read.st_ino);
    if (ours) {
        KeptOriginal copy(marked);
        ours = copy.inUse() || !copy.sealed() || sameFile(read, copy.record());
    }
    if (ours)
        found.push_back({marked, true});
    else if (r.writable)
        unmarkKeptCopy(r.fd);
    return found;
}

// A damaged copy under the name of the list read, made for another file: told only while a
// name of the person's beside it still holds that file.
void noteDamagedCopyOfAnother(const KeptCandidate& candidate, const struct stat& read,
                              InterruptedWrite& found) {
    std::vector<std::string> names =
        namesOfFileIn(folderOf(candidate.path), read.st_dev, candidate.inode);
    std::erase_if(names, [](const std::string& name) {
        return fs::path(name).filename().string().find(".held-") != std::string::npos;
    });
    if (names.empty())
        return;
    found.damagedCopyOfAnother = candidate.path;
    found.damagedCopyNames = std::move(names);
}

InterruptedWrite recover(const Recovery& r) {
    InterruptedWrite found;
    struct stat st {};
    if (fstat(r.fd, &st) != 0)
        return found;
    for (const KeptCandidate& candidate : candidatesFor(r, st)) {
        KeptOriginal copy(candidate.path);
        if (copy.inUse())
            continue;
        if (!copy.sealed()) {
            if (candidate.ofThisInode && found.damagedCopy.empty())
                found.damagedCopy = candidate.path;
            else if (!candidate.ofThisInode && found.damagedCopyOfAnother.empty())
                noteDamagedCopyOfAnother(candidate, st, found);
            continue;
        }
        KeptFile file;
        findKeptFile(file, r, st, copy);
        if (file.busy)
            continue;
        if (file.fd >= 0 && !file.nobodysAnyMore() && copy.leftIn(file.fd)) {
            // One at a time: another one that fits is put back by the next reading.
            if (found.keptCopy.empty())
                putBack(r, copy, file, found);
            continue;
        }
        if (r.handOver)
            handOver(copy, file, found);
    }
    if (r.handOver)
        releaseOrphanHeldNames(folderOf(r.path), st.st_dev, st.st_ino);
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
