#include "mdbengine/tables/IndexKey.h"

#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/TextCodec.h"
#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/tables/LongValue.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TextKey.h"
#include "mdbengine/tables/UnencodableKey.h"

#include <algorithm>

namespace mdbengine::file {

namespace {

constexpr std::uint8_t valueFlag = 0x7F;
constexpr std::uint8_t nullFlag = 0x00;
// A GUID is keyed as binary data: eight bytes at a time, each group but the last followed
// by this mark (which a descending key keeps as it is), the last by its length.
constexpr std::uint8_t moreBinaryFollows = 0x09;
// Jet4 ends a descending text value with one byte more than the inverted ascending key.
constexpr std::uint8_t descendingTextEnd = 0x00;

// Little-endian stored bytes, most significant first, with the sign bit turned so that
// negative numbers come first.
void appendInteger(std::span<const std::uint8_t> stored, std::vector<std::uint8_t>& key) {
    std::size_t start = key.size();
    key.insert(key.end(), stored.rbegin(), stored.rend());
    key[start] ^= 0x80;
}

// Negative floating-point numbers are inverted whole, so that larger magnitudes come first.
void appendFloat(std::span<const std::uint8_t> stored, std::vector<std::uint8_t>& key) {
    std::size_t start = key.size();
    key.insert(key.end(), stored.rbegin(), stored.rend());
    if (key[start] & 0x80)
        std::for_each(key.begin() + static_cast<std::ptrdiff_t>(start), key.end(),
                      [](std::uint8_t& b) { b = static_cast<std::uint8_t>(~b); });
    else
        key[start] ^= 0x80;
}

// The GUID's first three fields are stored little-endian; the key has them in reading order.
// Answers where the mark is, which inversion leaves alone.
std::size_t appendGuid(std::span<const std::uint8_t> stored, std::vector<std::uint8_t>& key) {
    static constexpr std::size_t order[8] = {3, 2, 1, 0, 5, 4, 7, 6};
    for (std::size_t i : order)
        key.push_back(stored[i]);
    std::size_t mark = key.size();
    key.push_back(moreBinaryFollows);
    key.insert(key.end(), stored.begin() + 8, stored.begin() + 16);
    key.push_back(8);
    return mark;
}

class KeyBuilder {
public:
    KeyBuilder(const KeyedRow& row, bool jet4) : row_(row), jet4_(jet4) {}

    void add(const Column& column, bool descending) {
        std::size_t start = key_.bytes.size();
        std::optional<std::size_t> keptMark;
        bool text = false;
        if (column.type == ColumnType::Boolean) {
            key_.bytes.push_back(valueFlag);
            key_.bytes.push_back(row_.row.bit(column.number) ? 0x00 : 0xFF);
            key_.allNull = false;
        } else if (auto value = valueOf(column)) {
            key_.bytes.push_back(valueFlag);
            keptMark = appendValue(column, *value);
            key_.allNull = false;
            text = column.type == ColumnType::Text || column.type == ColumnType::Memo;
        } else {
            key_.bytes.push_back(nullFlag);
            key_.anyNull = true;
        }
        if (!descending)
            return;
        for (std::size_t i = start; i < key_.bytes.size(); ++i)
            if (!keptMark || i != *keptMark)
                key_.bytes[i] = static_cast<std::uint8_t>(~key_.bytes[i]);
        if (jet4_ && text) {
            descendingTextEnds_.push_back(key_.bytes.size());
            key_.bytes.push_back(descendingTextEnd);
        }
    }

    IndexKey take() {
        if (!descendingTextEnds_.empty()) {
            std::vector<std::uint8_t> earlier;
            std::size_t from = 0;
            for (std::size_t end : descendingTextEnds_) {
                earlier.insert(earlier.end(),
                               key_.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                               key_.bytes.begin() + static_cast<std::ptrdiff_t>(end));
                from = end + 1;
            }
            earlier.insert(earlier.end(), key_.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                           key_.bytes.end());
            key_.earlierForm = std::move(earlier);
        }
        return std::move(key_);
    }

private:
    std::optional<std::vector<std::uint8_t>> valueOf(const Column& column) {
        if (column.isLongValue() && row_.longValues) {
            auto pending = row_.longValues->find(column.number);
            if (pending != row_.longValues->end()) {
                if (!pending->second)
                    return std::nullopt;
                const std::string& text = *pending->second;
                return std::vector<std::uint8_t>(text.begin(), text.end());
            }
        }
        auto bytes = columnBytes(column, row_.row);
        if (!bytes)
            return std::nullopt;
        if (column.isLongValue()) {
            std::string stored = readLongValue(row_.pages, *bytes);
            return std::vector<std::uint8_t>(stored.begin(), stored.end());
        }
        return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
    }

    // The value's bytes after the flag; the place of a mark inversion keeps, if any.
    std::optional<std::size_t> appendValue(const Column& column,
                                           std::span<const std::uint8_t> stored) {
        std::size_t width = fixedWidth(column.type);
        if (width != 0 && stored.size() < width)
            throw UnencodableKey(column.name);
        switch (column.type) {
        case ColumnType::Byte:
            key_.bytes.push_back(stored[0]);
            return std::nullopt;
        case ColumnType::Integer:
        case ColumnType::Long:
        case ColumnType::Currency:
            appendInteger(stored.first(width), key_.bytes);
            return std::nullopt;
        case ColumnType::Single:
        case ColumnType::Double:
        case ColumnType::DateTime:
            appendFloat(stored.first(width), key_.bytes);
            return std::nullopt;
        case ColumnType::Guid:
            return appendGuid(stored, key_.bytes);
        case ColumnType::Text:
        case ColumnType::Memo:
            appendText(column, stored);
            return std::nullopt;
        default:
            throw UnencodableKey(column.name);
        }
    }

    void appendText(const Column& column, std::span<const std::uint8_t> stored) {
        if (!jet4_) {
            appendJet3TextKey(stored, key_.bytes);
            return;
        }
        std::vector<std::uint16_t> units = jet4TextUnits(stored);
        char32_t uncoded = 0;
        if (!appendJet4TextKey(units, key_.bytes, &uncoded))
            throw UnencodableKey(column.name, uncoded);
    }

    const KeyedRow& row_;
    bool jet4_;
    IndexKey key_;
    std::vector<std::size_t> descendingTextEnds_; // where the byte Jet4 adds to them is
};

} // namespace

IndexKey indexKey(const TableDefinition& table, const StoredIndex& index, const KeyedRow& row) {
    KeyBuilder builder(row, row.pages.format().jet4);
    for (const IndexColumn& part : index.columns) {
        const Column* column = table.columnByNumber(part.columnNumber);
        if (column == nullptr)
            throw UnencodableKey("column " + std::to_string(part.columnNumber));
        builder.add(*column, part.descending);
    }
    return builder.take();
}

} // namespace mdbengine::file
