#include "platform/dao/jet/PageStore.h"

#include "platform/dao/jet/ByteOrder.h"
#include "platform/dao/jet/FormatError.h"
#include "platform/dao/jet/Rc4.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <unistd.h>

namespace platform::dao::jet {

namespace {

constexpr std::uint32_t pagesPerWrite = 256;

} // namespace

PageStore::PageStore(int fd, std::uint64_t fileSize, const JetFormat& format,
                     std::uint32_t encodingKey)
    : fd_(fd), format_(format), encodingKey_(encodingKey),
      filePages_(static_cast<std::uint32_t>(fileSize / format.pageSize)), pageCount_(filePages_),
      read_(filePages_) {}

PageStore::~PageStore() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::span<const std::uint8_t> PageStore::page(std::uint32_t number) {
    if (number >= pageCount_)
        throw FormatError("page " + std::to_string(number) + " lies beyond the end of the file");
    if (auto changed = changed_.find(number); changed != changed_.end())
        return changed->second;
    const std::uint8_t* bytes = read_[number] ? read_[number].get() : readFromFile(number);
    return {bytes, format_.pageSize};
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

const std::uint8_t* PageStore::readFromFile(std::uint32_t number) {
    auto buffer = std::make_unique<std::uint8_t[]>(format_.pageSize);
    readRaw(number, 1, buffer.get());
    // Encoded databases mask each page but the header with the key mixed with its number.
    if (encodingKey_ != 0 && number > 0) {
        std::array<std::uint8_t, 4> key{};
        put32(key.data(), encodingKey_ ^ number);
        applyRc4(key, std::span(buffer.get(), format_.pageSize));
    }
    read_[number] = std::move(buffer);
    return read_[number].get();
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
    if (number < filePages_)
        read_[number].reset();
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
    filePages_ = pageCount_;
    changed_.clear();
    read_.clear();
    read_.resize(filePages_);
}

} // namespace platform::dao::jet
