#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Writes every byte at the file's position; 0, or the errno of the failure.
int writeAll(int fd, std::string_view bytes);

// Everything from a byte of a file on, or only so many bytes of it.
struct ByteRange {
    unsigned long long from = 0;
    unsigned long long length = ~0ull;
};

// Hands every block of the file, from its start (or of the range), to `take`, which returns
// 0 to go on or an errno value to stop with; 0, or the errno of the failure.
int readEachBlock(int fd, const std::function<int(std::string_view)>& take, ByteRange range = {});

// Copies every byte of `in`, from its start (or of the range), over `out` from its start,
// cuts `out` to that length and has it reach the disk; 0, or the errno of the failure.
// `afterEachBlock`, when given, is called with the number of bytes written so far after each
// block is written over `out` (the last one before the cut); what it returns other than 0
// stops the copy there, and is returned.
using AfterBlock = std::function<int(unsigned long long written)>;
int copyOver(int in, int out, const AfterBlock& afterEachBlock = {}, ByteRange range = {});

// Reads up to `length` bytes at `offset` into `into`, fewer only at the end of the file; 0,
// or the errno of the failure.
int readAt(int fd, unsigned long long offset, size_t length, std::string& into);

// Has the folder holding `path` reach the disk, so that a name just made or removed in it
// survives a power cut.
void syncFolderOf(const std::string& path);

// Takes the advisory lock that every writer of the file takes while it writes (a lock of
// the open file, which the same process's other locks on it do not disturb); false when
// another writer holds it. The file must be open for writing. On a file system without
// such locks the file stays unlocked.
bool lockForWriting(int fd);

// FNV-1a over bytes as they go by, to check a copy against what was written.
class ByteChecksum {
public:
    void add(std::string_view bytes);
    unsigned long long value() const { return sum_; }

private:
    unsigned long long sum_ = 1469598103934665603ull;
};

} // namespace platform
