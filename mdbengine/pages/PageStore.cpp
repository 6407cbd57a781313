#include "mdbengine/pages/PageStore.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/Rc4.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <unistd.h>

namespace mdbengine::file {

namespace {

constexpr std::uint32_t pagesPerWrite = 256;
constexpr std::uint32_t pagesPerRun = 64;

std::size_t runsFor(std::uint32_t pages) {
    return (pages + pagesPerRun - 1) / pagesPerRun;
}

} // namespace

PageStore::PageStore(int fd, std::uint64_t fileSize, const JetFormat& format,
                     std::uint32_t encodingKey)
    : fd_(fd), format_(format), encodingKey_(encodingKey),
      filePages_(static_cast<std::uint32_t>(fileSize / format.pageSize)), pageCount_(filePages_),
      runs_(runsFor(filePages_)) {}

PageStore::~PageStore() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::span<const std::uint8_t> PageStore::page(std::uint32_t number) {
    if (number >= pageCount_)
        throw FormatError("page " + std::to_string(number) + " lies beyond the end of the file");
    if (auto changed = changed_.find(number); changed != changed_.end())
        return changed->second;
    const Run& run = runs_[number / pagesPerRun];
    const std::uint8_t* bytes =
        run.bytes
            ? run.bytes.get() + static_cast<std::size_t>(number % pagesPerRun) * format_.pageSize
            : readFromFile(number);
    return {bytes, format_.pageSize};
}

std::uint32_t PageStore::pagesInRun(std::uint32_t run) const {
    return std::min(pagesPerRun, filePages_ - run * pagesPerRun);
}

void PageStore::readRaw(std::uint32_t first, std::uint32_t count, std::uint8_t* into) const {
    std::size_t length = static_cast<std::size_t>(count) * format_.pageSize;
    off_t offset = static_cast<off_t>(first) * format_.pageSize;
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::pread(fd_, into + done, length - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw FormatError("page " + std::to_string(first) + " cannot be read");
        done += static_cast<std::size_t>(n);
    }
}

void PageStore::readRun(std::uint32_t index, std::uint8_t* into) const {
    std::uint32_t first = index * pagesPerRun;
    std::uint32_t count = pagesInRun(index);
    readRaw(first, count, into);
    // Encoded databases mask each page but the header with the key mixed with its number.
    for (std::uint32_t page = first; encodingKey_ != 0 && page < first + count; ++page) {
        if (page == 0)
            continue;
        std::array<std::uint8_t, 4> key{};
        put32(key.data(), encodingKey_ ^ page);
        applyRc4(key, std::span(into + static_cast<std::size_t>(page - first) * format_.pageSize,
                                format_.pageSize));
    }
}

// The whole run of the page is read; a page some change supersedes is read with it, as the
// run is kept whole.
const std::uint8_t* PageStore::readFromFile(std::uint32_t number) {
    std::uint32_t index = number / pagesPerRun;
    // The read fills it: no need to clear it first.
    auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(
        static_cast<std::size_t>(pagesInRun(index)) * format_.pageSize);
    readRun(index, buffer.get());
    runs_[index].bytes = std::move(buffer);
    return runs_[index].bytes.get() +
           static_cast<std::size_t>(number % pagesPerRun) * format_.pageSize;
}

// A walk moves forward through the file; a page behind the run in the buffer (a row's moved
// image, or the walk begun again) is read and kept as any other page is.
std::span<const std::uint8_t> PageStore::walkPage(std::uint32_t number, WalkBuffer& buffer) {
    if (number >= filePages_ || changed_.count(number) || runs_[number / pagesPerRun].bytes)
        return page(number);
    std::uint32_t index = number / pagesPerRun;
    if (buffer.file == file_ && index < buffer.run)
        return page(number);
    if (buffer.file != file_ || buffer.run != index) {
        if (!buffer.bytes)
            buffer.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(
                static_cast<std::size_t>(pagesPerRun) * format_.pageSize);
        buffer.file = 0;
        readRun(index, buffer.bytes.get());
        buffer.run = index;
        buffer.file = file_;
    }
    return {buffer.bytes.get() + static_cast<std::size_t>(number % pagesPerRun) * format_.pageSize,
            format_.pageSize};
}

std::span<std::uint8_t> PageStore::pageForChange(std::uint32_t number) {
    ++generation_;
    if (auto changed = changed_.find(number); changed != changed_.end())
        return changed->second;
    auto original = page(number);
    auto& copy = changed_[number];
    copy.assign(original.begin(), original.end());
    // The copy supersedes the page read: keeping both would double the memory of a
    // rewrite of every row.
    if (number < filePages_) {
        Run& run = runs_[number / pagesPerRun];
        if (++run.superseded == pagesInRun(number / pagesPerRun))
            run.bytes.reset();
    }
    return copy;
}

std::uint32_t PageStore::appendPage() {
    ++generation_;
    std::uint32_t number = pageCount_++;
    changed_[number].assign(format_.pageSize, 0);
    return number;
}

void PageStore::restore(Snapshot snapshot) {
    ++generation_;
    changed_ = std::move(snapshot.changed);
    pageCount_ = snapshot.pageCount;
    for (Run& run : runs_)
        run.superseded = 0;
    for (const auto& [number, copy] : changed_)
        if (number < filePages_)
            ++runs_[number / pagesPerRun].superseded;
}

void PageStore::writeAll(const std::function<bool(std::span<const std::uint8_t>)>& write) {
    std::vector<std::uint8_t> buffer;
    std::uint32_t number = 0;
    while (number < pageCount_) {
        if (auto changed = changed_.find(number); changed != changed_.end()) {
            if (!write(changed->second))
                return;
            ++number;
            continue;
        }
        // A run of unchanged pages goes in one piece, straight from the file.
        std::uint32_t end = number + 1;
        while (end < filePages_ && end - number < pagesPerWrite && !changed_.count(end))
            ++end;
        buffer.resize(static_cast<std::size_t>(end - number) * format_.pageSize);
        readRaw(number, end - number, buffer.data());
        if (!write(buffer))
            return;
        number = end;
    }
}

void PageStore::adoptFile(int fd) {
    ++generation_;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    ++file_;
    filePages_ = pageCount_;
    changed_.clear();
    runs_.clear();
    runs_.resize(runsFor(filePages_));
}

} // namespace mdbengine::file
