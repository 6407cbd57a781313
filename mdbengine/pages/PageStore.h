#pragma once

// The pages of one open database file. Every read is checked against the file size, so a
// page number out of a damaged structure becomes a FormatError, never a read past the end.
// Pages are read once and kept, a run of them at a time (one read for what a walk of the
// table will want next, not one per page); a walk through a table's pages in order reads
// them instead into a buffer of its own, which each run it reads reuses, so that reading a
// large table whole neither keeps all of it nor spends its time on fresh memory. A page
// the writer changes is copied first and the copy kept apart until the file is written
// anew; the file itself is never written.

#include "mdbengine/pages/JetFormat.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

namespace mdbengine::file {

class PageStore {
public:
    // Takes over the open descriptor `fd` of a file of `fileSize` bytes, a whole number of
    // pages. `encodingKey` is the header's key of RC4-encoded pages, or 0.
    PageStore(int fd, std::uint64_t fileSize, const JetFormat& format, std::uint32_t encodingKey);
    ~PageStore();
    PageStore(const PageStore&) = delete;
    PageStore& operator=(const PageStore&) = delete;

    const JetFormat& format() const { return format_; }
    std::uint32_t pageSize() const { return format_.pageSize; }
    // The file's pages and those added since.
    std::uint32_t pageCount() const { return pageCount_; }

    // The page as it stands, changes included. The bytes stay valid until the generation
    // changes.
    std::span<const std::uint8_t> page(std::uint32_t number);

    // Counts every change of pages (and every drop of changes): views of pages taken under
    // an older generation must be taken again.
    std::uint64_t generation() const { return generation_; }

    // The pages of one run as a walk read them.
    struct WalkBuffer {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::uint32_t run = 0;
        std::uint64_t file = 0; // the file they came from; none while 0
    };
    // The page as page() gives it, but one the store does not hold is read, with its run,
    // into `buffer` and not kept, unless it lies behind the buffer's run: its bytes stay valid
    // until the buffer is given another run or the generation changes.
    std::span<const std::uint8_t> walkPage(std::uint32_t number, WalkBuffer& buffer);

    // A page to change; the first change copies it.
    std::span<std::uint8_t> pageForChange(std::uint32_t number);
    // A zero-filled page added at the end; its number.
    std::uint32_t appendPage();

    bool hasChanges() const { return !changed_.empty() || pageCount_ != filePages_; }

    struct Snapshot {
        std::map<std::uint32_t, std::vector<std::uint8_t>> changed;
        std::uint32_t pageCount = 0;
    };
    Snapshot snapshot() const { return {changed_, pageCount_}; }
    void restore(Snapshot snapshot);
    // Back to the pages of the file.
    void dropChanges() { restore({{}, filePages_}); }

    // Every page, changed or not, in order, in pieces of whole pages; stops when `write`
    // answers false. Throws FormatError when the file cannot be read.
    void writeAll(const std::function<bool(std::span<const std::uint8_t>)>& write);

    // The file was replaced by a copy with the changes, open as `fd`, which is read from
    // now on.
    void adoptFile(int fd);

private:
    // The pages of the file read together, and how many of them a changed copy supersedes
    // (when all are, the run is given up).
    struct Run {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::uint32_t superseded = 0;
    };

    const std::uint8_t* readFromFile(std::uint32_t number);
    // The pages of run `index`, decoded, into `into`.
    void readRun(std::uint32_t index, std::uint8_t* into) const;
    void readRaw(std::uint32_t first, std::uint32_t count, std::uint8_t* into) const;
    std::uint32_t pagesInRun(std::uint32_t run) const;

    int fd_;
    const JetFormat& format_;
    std::uint32_t encodingKey_;
    std::uint32_t filePages_;
    std::uint32_t pageCount_;
    std::uint64_t generation_ = 0;
    std::uint64_t file_ = 1; // counts the files read (adoptFile takes another)
    std::vector<Run> runs_;
    std::map<std::uint32_t, std::vector<std::uint8_t>> changed_;
};

} // namespace mdbengine::file
