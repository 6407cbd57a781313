#pragma once

#include <cstdio>
#include <string>

namespace platform {

// What a path names, as far as reading it as a file goes.
struct FileStatus {
    bool exists = false;
    bool regular = false; // a plain file, or a link to one
    long long size = 0;
    // For anything but a plain file, why it cannot be read as one, as a sentence.
    std::string notRegularReason;
};

FileStatus statusOf(const std::string& path);

// What tells that a file was changed or replaced since it was looked at: its size, time of
// change and identity (a file put in its place by a rename has another identity). A
// missing file has size -1.
struct FileStamp {
    long long size = -1;
    long long modifiedNanoseconds = 0;
    unsigned long long device = 0, inode = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The file a symbolic link leads to (the path itself when it is none, or leads nowhere).
std::string followLinks(const std::string& path);

// The stamp of the file the path names (following links), or of an open file.
FileStamp stampOf(const std::string& path);
FileStamp stampOfOpenFile(int fd);

// Opens a plain file for reading. Anything else (a named pipe, a device, a directory) is
// refused without being read, so that opening never waits for a writer that may never
// come. Returns nullptr with `why` set (errno's text, or why it is not a plain file).
std::FILE* openRegularFile(const std::string& path, std::string& why);

} // namespace platform
