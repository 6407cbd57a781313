#include "platform/fs/InterruptedWrite.h"

#include "platform/Interruption.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

InterruptedWrite restoreKeptOriginal(const std::string& path, int fd) {
    InterruptedWrite found;
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return found;
    const std::vector<std::string> kept = keptOriginalsOf(path, st.st_ino);
    if (kept.empty())
        return found;
    found.keptCopy = kept.front();
    int in = open(found.keptCopy.c_str(), O_RDONLY | O_CLOEXEC);
    int error = in < 0 ? errno : 0;
    if (error == 0) {
        WriteInProgress writing;
        error = copyOver(in, fd);
        struct stat original {};
        // The file gets back its own time of change too, so that it is what it was.
        if (error == 0 && fstat(in, &original) == 0) {
            const struct timespec times[2] = {original.st_atim, original.st_mtim};
            futimens(fd, times);
        }
    }
    if (in >= 0)
        close(in);
    if (error != 0) {
        found.error =
            "cannot put " + path + " back from " + found.keptCopy + ": " + describeFileError(error);
        return found;
    }
    unlink(found.keptCopy.c_str());
    syncFolderOf(path);
    found.restored = true;
    return found;
}

InterruptedWrite recoverInterruptedWrite(const std::string& path,
                                         std::initializer_list<OwnFilePattern> leftovers) {
    const std::string target = followLinks(path);
    struct stat st {};
    if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    int fd = open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        InterruptedWrite found;
        std::vector<std::string> kept = keptOriginalsOf(target, st.st_ino);
        if (!kept.empty()) {
            found.keptCopy = kept.front();
            found.error = "cannot open " + target + " to put it back: " + describeFileError(errno);
        }
        return found;
    }
    InterruptedWrite found;
    if (lockForWriting(fd)) {
        found = restoreKeptOriginal(target, fd);
        removeLeftoverTemporaries(target, {TemporaryFilePattern, EarlierTemporaryFilePattern});
        if (leftovers.size() > 0)
            removeLeftoverTemporaries(target, leftovers);
    }
    close(fd);
    return found;
}

} // namespace platform
