#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct WriteResult {
    bool ok = false;
    std::string error; // why it failed, for the user's message
};

// Replaces a file's contents without ever leaving it half written: the bytes go to a
// temporary file in the same folder, which is flushed and renamed over the target only
// when everything was written. A symbolic link is followed to the real file, and the
// target keeps its permissions.
WriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

// The same, for writers that produce their output piece by piece.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter(); // abandons the temporary file unless committed

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    void write(std::string_view bytes);
    WriteResult commit();

private:
    void fail(const std::string& what);

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    std::string error_;
    bool committed_ = false;
};

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path);

bool fileExists(const std::string& path);

} // namespace platform
