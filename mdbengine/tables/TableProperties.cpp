#include "mdbengine/tables/TableProperties.h"

#include "mdbengine/pages/ByteCursor.h"
#include "mdbengine/pages/TextCodec.h"
#include "mdbengine/tables/Names.h"

#include <optional>

namespace mdbengine::file {

namespace {

constexpr std::uint16_t namesBlock = 0x0080;
constexpr std::uint16_t columnBlock = 0x0001;
constexpr std::uint8_t booleanType = 1;
constexpr std::size_t markSize = 4;
constexpr std::size_t blockHeaderSize = 6; // its length and kind
constexpr std::size_t entryHeaderSize = 8; // its length, flag, type, name and value length

std::string nameOf(std::span<const std::uint8_t> bytes, bool jet4) {
    return jet4 ? ucs2ToUtf8(bytes) : jet3TextToUtf8(bytes);
}

std::vector<std::string> propertyNames(ByteCursor block, bool jet4) {
    std::vector<std::string> names;
    while (block.remaining() > 0)
        names.push_back(nameOf(block.bytes(block.u16()), jet4));
    return names;
}

// A column's block: its name, then its entries; the column's name when its Required property
// is True.
std::optional<std::string> requiredIn(ByteCursor block, const std::vector<std::string>& names,
                                      bool jet4) {
    std::uint32_t headerLength = block.u32();
    std::uint16_t nameLength = block.u16();
    if (headerLength != blockHeaderSize + nameLength)
        return std::nullopt;
    std::string column = nameOf(block.bytes(nameLength), jet4);
    bool required = false;
    while (block.remaining() > 0) {
        std::uint16_t length = block.u16();
        block.skip(1); // the data-definition flag
        std::uint8_t type = block.u8();
        std::uint16_t name = block.u16();
        auto value = block.bytes(block.u16());
        if (length != entryHeaderSize + value.size())
            break;
        if (type == booleanType && name < names.size() && sameName(names[name], "Required") &&
            !value.empty())
            required = value[0] != 0;
    }
    return required ? std::optional<std::string>(column) : std::nullopt;
}

} // namespace

// Whatever runs past the end of its block, or of the value, ends the reading there.
std::vector<std::string> requiredColumns(std::span<const std::uint8_t> properties, bool jet4) {
    std::vector<std::string> columns;
    if (properties.size() < markSize)
        return columns;
    ByteCursor blocks(properties, markSize);
    std::vector<std::string> names;
    try {
        while (blocks.remaining() > 0) {
            std::uint32_t length = blocks.u32();
            std::uint16_t kind = blocks.u16();
            if (length < blockHeaderSize)
                break;
            ByteCursor block(blocks.bytes(length - blockHeaderSize));
            if (kind == namesBlock)
                names = propertyNames(block, jet4);
            else if (kind == columnBlock)
                if (std::optional<std::string> column = requiredIn(block, names, jet4))
                    columns.push_back(std::move(*column));
        }
    } catch (const FormatError&) {
        // A damaged value: what was read before the damage stands.
    }
    return columns;
}

} // namespace mdbengine::file
