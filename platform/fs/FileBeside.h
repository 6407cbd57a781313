#pragma once

#include "platform/fs/Leftovers.h"

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace platform {

// A new file in the folder of another, for the program's own use while it writes that one:
// unnamed where the file system allows it, so that it cannot outlive the process however
// the process ends, and given a name only at the moment one is needed; where the file
// system has no unnamed files, it is named at once. Either way the name is its own one
// (ownNameBeside), by which later writes know it for the program's and remove it when a
// killed process left it behind.
class FileBeside {
public:
    // Made in the folder of `beside`, with `mode` (the umask left out). Check ok().
    FileBeside(const std::string& beside, const OwnFilePattern& pattern, mode_t mode);
    ~FileBeside(); // closes it, and removes its name unless kept
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    bool ok() const { return fd_ >= 0; }
    // Why it could not be made (an errno value).
    int error() const { return error_; }
    int fd() const { return fd_; }
    // Its path; "" while it has none.
    const std::string& name() const { return name_; }

    // Gives it its own name, unless it has one; 0 or an errno value.
    int nameAsOwn();
    // Gives it exactly this name, which must be free (the name it had, if any, goes); 0 or an
    // errno value (EEXIST when the name is taken).
    int nameAs(const std::string& path);
    // Its name stays when this object goes (it was renamed into place, or is to stay).
    void keepName() { keepName_ = true; }
    // Its name is gone (renamed away); nothing to remove.
    void forgetName() { name_.clear(); }
    // Closes it; 0 or the errno of a failed close.
    int close();

private:
    std::string beside_;
    OwnFilePattern pattern_;
    int fd_ = -1;
    int error_ = 0;
    std::string name_;
    bool keepName_ = false;
};

// Gives the open file at `fd` (unnamed or not) another name, `path`, which must be free; 0
// or an errno value (EEXIST when the name is taken).
int linkOpenFile(int fd, const std::string& path);

// The folder a path is in ("." for a bare name).
std::string folderOf(const std::string& path);

// The paths in `folder` that name the file with this device and inode, sorted.
std::vector<std::string> namesOfFileIn(const std::string& folder, unsigned long long device,
                                       unsigned long long inode);

// A hidden name in the folder of `path`: "." + its name + tag + ending, the name cut so that
// the whole is a valid file name however long the original's name is, and its whole path no
// longer than `longestPath` where that can be.
std::string hiddenNameBeside(const std::string& path, std::string_view tag, std::string_view ending,
                             size_t longestPath = 4096);

// The mkstemp pattern of such a name, with six Xs for its ending.
std::string tempPatternBeside(const std::string& path, std::string_view tag,
                              size_t longestPath = 4096);

} // namespace platform
