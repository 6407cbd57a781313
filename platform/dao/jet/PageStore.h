#pragma once

// The pages of one open database file. Every read is checked against the file size, so a
// page number out of a damaged structure becomes a FormatError, never a read past the end.
// Pages are read once and kept.

#include "platform/dao/jet/JetFormat.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform::dao::jet {

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
    std::uint32_t pageCount() const { return pageCount_; }
    int descriptor() const { return fd_; }

    // The page's bytes, valid as long as the store.
    std::span<const std::uint8_t> page(std::uint32_t number);

private:
    const std::uint8_t* readFromFile(std::uint32_t number);

    int fd_;
    const JetFormat& format_;
    std::uint32_t encodingKey_;
    std::uint32_t pageCount_;
    std::vector<std::unique_ptr<std::uint8_t[]>> read_;
};

} // namespace platform::dao::jet
