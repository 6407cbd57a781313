#pragma once

#include <cstdio>
#include <string>

namespace platform {

// What a path names, as far as reading it as a file goes.
struct FileStatus {
    bool exists = false;
    bool regular = false; // a plain file, or a link to one
    long long size = 0;
    // When the content last changed, in nanoseconds since the epoch: with the size it tells
    // a file changed since it was read.
    long long modifiedNanoseconds = 0;
    // The device and inode: a file put in another's place by a rename has other ones.
    unsigned long long device = 0, inode = 0;
    // For anything but a plain file, why it cannot be read as one, as a sentence.
    std::string notRegularReason;
};

FileStatus statusOf(const std::string& path);

// Opens a plain file for reading. Anything else (a named pipe, a device, a directory) is
// refused without being read, so that opening never waits for a writer that may never
// come. Returns nullptr with `why` set (errno's text, or why it is not a plain file).
std::FILE* openRegularFile(const std::string& path, std::string& why);

} // namespace platform
