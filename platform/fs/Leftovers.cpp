#include "platform/fs/Leftovers.h"

#include "platform/fs/FileBeside.h"
#include "platform/fs/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

// The digits only the file with this inode, made beside a file of this name under this tag,
// carries.
std::string digitsOf(const std::string& besideName, std::string_view tag, unsigned long long inode,
                     int attempt) {
    ByteChecksum sum;
    sum.add("Quillan's own file beside ");
    sum.add(besideName);
    sum.add(std::string_view("\0", 1));
    sum.add(tag);
    sum.add(std::string_view("\0", 1));
    sum.add(std::to_string(inode));
    if (attempt > 0)
        sum.add("#" + std::to_string(attempt));
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", sum.value());
    return digits;
}

// A plain file of this user that has no other name: nobody has kept it under a name of
// their own.
bool ownPlainFile(const fs::path& entry, struct stat& st) {
    return lstat(entry.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
           st.st_nlink == 1;
}

} // namespace

std::string ownNameBeside(const std::string& path, const OwnFilePattern& pattern,
                          unsigned long long inode, int attempt) {
    const std::string name = fs::path(path).filename().string();
    return hiddenNameBeside(path, pattern.tag, digitsOf(name, pattern.tag, inode, attempt),
                            pattern.longestPath);
}

// Whether `name` is one of the names the program's own file with this inode takes.
static bool isOwnName(const std::string& name, const std::string& path,
                      const OwnFilePattern& pattern, unsigned long long inode) {
    for (int attempt = 0; attempt < OwnNameAttempts; ++attempt)
        if (name == fs::path(ownNameBeside(path, pattern, inode, attempt)).filename().string())
            return true;
    return false;
}

int takeOwnName(std::string& file, const std::string& beside, const OwnFilePattern& pattern) {
    struct stat st {};
    if (lstat(file.c_str(), &st) != 0)
        return errno;
    if (isOwnName(fs::path(file).filename().string(), beside, pattern, st.st_ino))
        return 0;
    int error = EEXIST;
    for (int attempt = 0; attempt < OwnNameAttempts && error == EEXIST; ++attempt) {
        const std::string own = ownNameBeside(beside, pattern, st.st_ino, attempt);
        error = link(file.c_str(), own.c_str()) == 0 ? 0 : errno;
        if (error == 0) {
            unlink(file.c_str());
            file = own;
        }
    }
    return error;
}

void removeLeftoverTemporaries(const std::string& path,
                               std::initializer_list<OwnFilePattern> patterns) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(path), ec)) {
        struct stat st {};
        if (!ownPlainFile(entry.path(), st))
            continue;
        const std::string name = entry.path().filename().string();
        for (const OwnFilePattern& pattern : patterns) {
            if (isOwnName(name, path, pattern, st.st_ino)) {
                unlink(entry.path().c_str());
                break;
            }
        }
    }
}

} // namespace platform
