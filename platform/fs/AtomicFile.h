#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct WriteResult {
    bool ok = false;
    std::string error; // why it failed, for the user's message
    // When a write in place failed part way: the target may be damaged, and this file
    // beside it holds the complete new contents.
    std::string keptCopy;
};

// Replaces a file's contents without ever leaving it half written: the bytes go to a
// temporary file in the same folder, which is flushed and renamed over the target only
// when everything was written. A symbolic link is followed to the real file. The target
// keeps its owner, group and permissions; a file this user may not write (or that nobody
// may write, which even the superuser takes as read-only) is refused before anything is
// written. Where a rename would lose what the file is (it has other
// hard links, or its owner or group cannot be given to the new file), the finished copy
// is checked and then written over the file in place, so that every name of it shows the
// new contents.
//
// The program's own files (the sort result, the settings) are written with Links::Refuse:
// a symbolic link in their place is refused, never followed, so that a link planted in the
// program folder cannot make Quillan replace a file elsewhere.
class AtomicFileWriter {
public:
    enum class Links { Follow, Refuse };
    explicit AtomicFileWriter(const std::string& path, Links links = Links::Follow);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter(); // abandons the temporary file unless committed

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // The target exists and this user may not write it: nothing was or will be written.
    bool targetReadOnly() const { return readOnly_; }
    void write(std::string_view bytes);
    WriteResult commit();

private:
    void fail(const std::string& what);
    void prepareTarget();
    bool copyIsComplete();
    void writeInPlace();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    std::string error_;
    bool committed_ = false;
    bool readOnly_ = false;
    bool inPlace_ = false;
    bool targetExists_ = false;
    bool keptCopy_ = false;
    unsigned long long written_ = 0;
    unsigned long long checksum_ = 1469598103934665603ull;
};

// The whole file, or nothing when it cannot be read.
WriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                AtomicFileWriter::Links links = AtomicFileWriter::Links::Follow);

// The mkstemp pattern of a hidden temporary file beside `path`: "." + its name + tag +
// "XXXXXX" in its folder, the name cut so that the whole is a valid file name however
// long the original's name is, and its whole path no longer than `longestPath` (for a
// reader with a path limit of its own), where that can be.
std::string tempPatternBeside(const std::string& path, std::string_view tag,
                              size_t longestPath = 4096);

// A complete copy of a file, made beside it under tempPatternBeside(path, tag, longestPath);
// on failure nothing is left and error says why.
struct CopyBeside {
    std::string path;
    std::string error;
};
CopyBeside copyBeside(const std::string& path, std::string_view tag, size_t longestPath = 4096);

std::optional<std::string> readFileBytes(const std::string& path);

bool fileExists(const std::string& path);

} // namespace platform
