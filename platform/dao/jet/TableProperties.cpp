#include "platform/dao/jet/TableProperties.h"

#include "platform/dao/jet/ByteOrder.h"
#include "platform/dao/jet/Names.h"
#include "platform/dao/jet/TextCodec.h"

#include <optional>

namespace platform::dao::jet {

namespace {

constexpr std::uint16_t namesBlock = 0x0080;
constexpr std::uint16_t columnBlock = 0x0001;
constexpr std::uint8_t booleanType = 1;
constexpr std::size_t markSize = 4;

// Reads forward through bytes that may end anywhere.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool has(std::size_t count) const { return count <= bytes_.size() - at_; }
    std::size_t at() const { return at_; }
    std::uint16_t u16() {
        std::uint16_t value = get16(bytes_.data() + at_);
        at_ += 2;
        return value;
    }
    std::uint32_t u32() {
        std::uint32_t value = get32(bytes_.data() + at_);
        at_ += 4;
        return value;
    }
    std::span<const std::uint8_t> take(std::size_t count) {
        auto part = bytes_.subspan(at_, count);
        at_ += count;
        return part;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

std::string nameOf(std::span<const std::uint8_t> bytes, bool jet4) {
    return jet4 ? ucs2ToAnsi(bytes) : std::string(bytes.begin(), bytes.end());
}

// A block's contents, after its length and kind; nothing when it runs past the end.
std::optional<std::span<const std::uint8_t>> nextBlock(Reader& reader, std::uint16_t& kind) {
    if (!reader.has(6))
        return std::nullopt;
    std::uint32_t length = reader.u32();
    kind = reader.u16();
    if (length < 6 || !reader.has(length - 6))
        return std::nullopt;
    return reader.take(length - 6);
}

std::vector<std::string> propertyNames(std::span<const std::uint8_t> block, bool jet4) {
    std::vector<std::string> names;
    Reader reader(block);
    while (reader.has(2)) {
        std::uint16_t length = reader.u16();
        if (!reader.has(length))
            break;
        names.push_back(nameOf(reader.take(length), jet4));
    }
    return names;
}

// A column's block: its name, then its entries; whether its Required property is True.
bool requiredIn(std::span<const std::uint8_t> block, const std::vector<std::string>& names,
                bool jet4, std::string& column) {
    Reader reader(block);
    if (!reader.has(6))
        return false;
    std::uint32_t headerLength = reader.u32();
    std::uint16_t nameLength = reader.u16();
    if (headerLength != 6u + nameLength || !reader.has(nameLength))
        return false;
    column = nameOf(reader.take(nameLength), jet4);
    bool required = false;
    while (reader.has(8)) {
        std::size_t start = reader.at();
        std::uint16_t length = reader.u16();
        reader.take(1); // the data-definition flag
        std::uint8_t type = reader.take(1)[0];
        std::uint16_t name = reader.u16();
        std::uint16_t valueLength = reader.u16();
        if (length < 8 || !reader.has(valueLength))
            break;
        auto value = reader.take(valueLength);
        if (type == booleanType && name < names.size() && sameName(names[name], "Required") &&
            !value.empty())
            required = value[0] != 0;
        if (reader.at() - start != length)
            break;
    }
    return required;
}

} // namespace

std::vector<std::string> requiredColumns(std::span<const std::uint8_t> properties, bool jet4) {
    std::vector<std::string> columns;
    if (properties.size() < markSize)
        return columns;
    Reader reader(properties.subspan(markSize));
    std::vector<std::string> names;
    std::uint16_t kind = 0;
    while (std::optional<std::span<const std::uint8_t>> block = nextBlock(reader, kind)) {
        std::string column;
        if (kind == namesBlock)
            names = propertyNames(*block, jet4);
        else if (kind == columnBlock && requiredIn(*block, names, jet4, column))
            columns.push_back(std::move(column));
    }
    return columns;
}

} // namespace platform::dao::jet
