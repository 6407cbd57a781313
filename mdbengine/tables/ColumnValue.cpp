#include "mdbengine/tables/ColumnValue.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/TextCodec.h"
#include "mdbengine/tables/DecimalText.h"
#include "mdbengine/tables/LongValue.h"
#include "mdbengine/tables/RowImage.h"
#include "mdbengine/tables/UnencodableText.h"
#include "mdbengine/values/Utf8.h"
#include "mdbengine/values/Windows1252.h"

#include <string>

namespace mdbengine::file {

std::size_t fixedWidth(ColumnType type) {
    switch (type) {
    case ColumnType::Byte:
        return 1;
    case ColumnType::Integer:
        return 2;
    case ColumnType::Long:
    case ColumnType::Single:
        return 4;
    case ColumnType::Currency:
    case ColumnType::Double:
    case ColumnType::DateTime:
        return 8;
    case ColumnType::Guid:
        return 16;
    case ColumnType::Numeric:
        return 17;
    default:
        return 0;
    }
}

std::optional<std::span<const std::uint8_t>> columnBytes(const Column& column, const RowView& row) {
    if (!row.bit(column.number))
        return std::nullopt;
    if (column.isFixed()) {
        std::size_t width = fixedWidth(column.type);
        if (width == 0)
            width = column.length;
        if (column.fixedOffset > row.fixed.size() || width > row.fixed.size() - column.fixedOffset)
            throw FormatError("a value lies beyond its row's fixed columns");
        return row.fixed.subspan(column.fixedOffset, width);
    }
    if (column.varIndex >= row.variable.size())
        return std::nullopt;
    return row.variable[column.varIndex];
}

Variant decodeValue(const Column& column, std::span<const std::uint8_t> bytes, bool jet4) {
    auto asString = [&] { return std::string(bytes.begin(), bytes.end()); };
    auto require = [&](std::size_t width) {
        if (bytes.size() < width)
            throw FormatError("a value is shorter than its type");
    };
    switch (column.type) {
    case ColumnType::Byte:
        require(1);
        return Variant::byte(bytes[0]);
    case ColumnType::Integer:
        require(2);
        return Variant::integer(static_cast<std::int16_t>(get16(bytes.data())));
    case ColumnType::Long:
        require(4);
        return Variant::longInteger(static_cast<std::int32_t>(get32(bytes.data())));
    case ColumnType::Currency:
        require(8);
        return Variant::currency(static_cast<std::int64_t>(get64(bytes.data())));
    case ColumnType::Single:
        require(4);
        return Variant::single(getFloat(bytes.data()));
    case ColumnType::Double:
        require(8);
        return Variant::real(getDouble(bytes.data()));
    case ColumnType::DateTime:
        require(8);
        return Variant::date(getDouble(bytes.data()));
    case ColumnType::Text:
    case ColumnType::Memo:
        return Variant::text(jet4 ? jet4TextToUtf8(bytes) : jet3TextToUtf8(bytes));
    case ColumnType::Guid:
        require(16);
        return Variant::guid(std::string(bytes.begin(), bytes.begin() + 16));
    case ColumnType::Numeric:
        require(17);
        return Variant::decimal(decimalText(bytes.first(17), column.scale));
    default:
        return Variant::bytes(asString());
    }
}

namespace {

// Jet4 compresses a memo only up to this many characters.
constexpr std::size_t compressibleMemo = 1024;

// Jet3 text in its code page; a character it lacks is refused, never stored as another.
std::vector<std::uint8_t> jet3Bytes(const std::string& text, const Column& column) {
    std::optional<std::vector<std::uint8_t>> bytes = utf8ToJet3Text(text);
    if (!bytes)
        throw UnencodableText(column.name, firstOutsideWindows1252(text).value_or(0xFFFD));
    return std::move(*bytes);
}

std::vector<std::uint8_t> memoBytes(const std::string& text, const Column& column, bool jet4) {
    if (!jet4)
        return jet3Bytes(text, column);
    return utf8ToJet4Text(text, column.compressedText && utf16Length(text) <= compressibleMemo);
}

} // namespace

std::vector<std::uint8_t> encodeValue(const Column& column, const Variant& value, bool jet4) {
    std::vector<std::uint8_t> bytes(fixedWidth(column.type));
    switch (column.type) {
    case ColumnType::Byte:
        bytes[0] = static_cast<std::uint8_t>(value.integerValue());
        break;
    case ColumnType::Integer:
        put16(bytes.data(), static_cast<std::uint32_t>(value.integerValue()));
        break;
    case ColumnType::Long:
        put32(bytes.data(), static_cast<std::uint32_t>(value.integerValue()));
        break;
    case ColumnType::Currency:
        put64(bytes.data(), static_cast<std::uint64_t>(value.integerValue()));
        break;
    case ColumnType::Single:
        putFloat(bytes.data(), static_cast<float>(value.realValue()));
        break;
    case ColumnType::Double:
    case ColumnType::DateTime:
        putDouble(bytes.data(), value.realValue());
        break;
    case ColumnType::Text: {
        const std::string& text = value.stringValue();
        bytes = jet4 ? utf8ToJet4Text(text, column.compressedText && !column.isFixed())
                     : jet3Bytes(text, column);
        while (column.isFixed() && bytes.size() + (jet4 ? 2 : 1) <= column.length) {
            bytes.push_back(' ');
            if (jet4)
                bytes.push_back(0);
        }
        break;
    }
    case ColumnType::Memo:
        return memoBytes(value.stringValue(), column, jet4);
    case ColumnType::Ole: {
        const std::string& data = value.stringValue();
        return std::vector<std::uint8_t>(data.begin(), data.end());
    }
    case ColumnType::Numeric:
        return decimalBytes(value.stringValue());
    default:
        throw FormatError("values of this column type are not written");
    }
    return bytes;
}

Variant readColumnValue(const Column& column, const RowView& row, PageStore& pages) {
    if (column.type == ColumnType::Boolean)
        return Variant::boolean(row.bit(column.number));
    auto bytes = columnBytes(column, row);
    if (!bytes)
        return Variant::null();
    if (column.isLongValue()) {
        std::string stored = readLongValue(pages, *bytes);
        auto storedBytes =
            std::span(reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size());
        return decodeValue(column, storedBytes, pages.format().jet4);
    }
    return decodeValue(column, *bytes, pages.format().jet4);
}

void putValue(RowImage& row, const Column& column, const Variant& value, bool jet4) {
    if (column.type == ColumnType::Boolean)
        row.setBoolean(column, value.booleanValue());
    else if (value.isNull())
        row.setValue(column, std::nullopt);
    else
        row.setValue(column, encodeValue(column, value, jet4));
}

} // namespace mdbengine::file
