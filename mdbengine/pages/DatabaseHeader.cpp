#include "mdbengine/pages/DatabaseHeader.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/Rc4.h"
#include "mdbengine/pages/TextCodec.h"
#include "mdbengine/values/Utf8.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace mdbengine::file {

namespace {

constexpr std::array<std::uint8_t, 4> headerKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr char signature[] = "Standard Jet DB";
constexpr std::size_t signatureOffset = 4;
constexpr std::size_t versionOffset = 0x14;
constexpr std::size_t maskedStart = 0x18;
constexpr std::size_t encodingKeyOffset = 0x3E;
constexpr std::size_t passwordOffset = 0x42;
constexpr std::size_t creationDateOffset = 0x72;

// Jet4 also masks the password with the whole days of the creation date, repeated.
std::array<std::uint8_t, 4> passwordMask(const std::uint8_t* header) {
    double date = getDouble(header + creationDateOffset);
    std::int32_t days = 0;
    if (std::isfinite(date) && date > -2147483648.0 && date < 2147483648.0)
        days = static_cast<std::int32_t>(date);
    std::array<std::uint8_t, 4> mask{};
    put32(mask.data(), static_cast<std::uint32_t>(days));
    return mask;
}

} // namespace

const JetFormat* DatabaseHeader::recogniseFormat(std::span<const std::uint8_t> firstBytes) {
    if (firstBytes.size() <= versionOffset)
        return nullptr;
    if (firstBytes[0] != 0 || firstBytes[1] != 1 || firstBytes[2] != 0 || firstBytes[3] != 0)
        return nullptr;
    if (std::memcmp(firstBytes.data() + signatureOffset, signature, sizeof signature) != 0)
        return nullptr;
    switch (firstBytes[versionOffset]) {
    case 0:
        return &JetFormat::version3();
    case 1:
        return &JetFormat::version4();
    default:
        return nullptr;
    }
}

DatabaseHeader::DatabaseHeader(const JetFormat& format, std::span<const std::uint8_t> page)
    : format_(&format) {
    std::vector<std::uint8_t> header(page.begin(), page.end());
    std::size_t maskedLength = format.jet4 ? 128 : 126;
    applyRc4(headerKey, std::span(header).subspan(maskedStart, maskedLength));
    encodingKey_ = get32(header.data() + encodingKeyOffset);

    const std::uint8_t* stored = header.data() + passwordOffset;
    if (format.jet4) {
        std::array<std::uint8_t, 4> mask = passwordMask(header.data());
        std::array<std::uint8_t, 40> bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = stored[i] ^ mask[i % 4];
        for (std::size_t i = 0; i < bytes.size(); i += 2)
            password_.push_back(get16(bytes.data() + i));
    } else {
        password_.assign(stored, stored + 20);
    }
    while (!password_.empty() && password_.back() == 0)
        password_.pop_back();
}

bool DatabaseHeader::hasPassword() const {
    return !password_.empty();
}

bool DatabaseHeader::passwordMatches(std::string_view password) const {
    if (format_->jet4)
        return utf16Units(password) == password_;
    std::optional<std::vector<std::uint8_t>> given = utf8ToJet3Text(password);
    return given && std::equal(given->begin(), given->end(), password_.begin(), password_.end());
}

} // namespace mdbengine::file
