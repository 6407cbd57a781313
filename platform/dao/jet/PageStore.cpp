#include "platform/dao/jet/PageStore.h"

#include "platform/dao/jet/ByteOrder.h"
#include "platform/dao/jet/FormatError.h"
#include "platform/dao/jet/Rc4.h"

#include <array>
#include <cerrno>
#include <string>
#include <unistd.h>

namespace platform::dao::jet {

PageStore::PageStore(int fd, std::uint64_t fileSize, const JetFormat& format,
                     std::uint32_t encodingKey)
    : fd_(fd), format_(format), encodingKey_(encodingKey),
      pageCount_(static_cast<std::uint32_t>(fileSize / format.pageSize)), read_(pageCount_) {}

PageStore::~PageStore() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::span<const std::uint8_t> PageStore::page(std::uint32_t number) {
    if (number >= pageCount_)
        throw FormatError("page " + std::to_string(number) + " lies beyond the end of the file");
    const std::uint8_t* bytes = read_[number] ? read_[number].get() : readFromFile(number);
    return {bytes, format_.pageSize};
}

const std::uint8_t* PageStore::readFromFile(std::uint32_t number) {
    auto buffer = std::make_unique<std::uint8_t[]>(format_.pageSize);
    off_t offset = static_cast<off_t>(number) * format_.pageSize;
    std::size_t done = 0;
    while (done < format_.pageSize) {
        ssize_t n = ::pread(fd_, buffer.get() + done, format_.pageSize - done,
                            offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw FormatError("page " + std::to_string(number) + " cannot be read");
        done += static_cast<std::size_t>(n);
    }
    // Encoded databases mask each page but the header with the key mixed with its number.
    if (encodingKey_ != 0 && number > 0) {
        std::array<std::uint8_t, 4> key{};
        put32(key.data(), encodingKey_ ^ number);
        applyRc4(key, std::span(buffer.get(), format_.pageSize));
    }
    read_[number] = std::move(buffer);
    return read_[number].get();
}

} // namespace platform::dao::jet
