#pragma once

// A column's value in a row, as a Variant: text in UTF-8, memos read in full.

#include "mdbengine/tables/Column.h"
#include "mdbengine/tables/RowCodec.h"
#include "mdbengine/values/Variant.h"

#include <optional>
#include <span>
#include <vector>

namespace mdbengine::file {

class PageStore;
class RowImage;

// Bytes a fixed-length value of the type takes; 0 when the column's length decides.
std::size_t fixedWidth(ColumnType type);

// The column's stored bytes, or nothing when it holds no value (Null, or a row written
// before the column existed). Boolean columns have no bytes: their value is the mask bit.
std::optional<std::span<const std::uint8_t>> columnBytes(const Column& column, const RowView& row);

// Throws FormatError when a value does not fit its row or a memo cannot be read.
Variant readColumnValue(const Column& column, const RowView& row, PageStore& pages);

// A value from its stored bytes (memos and long binaries: the bytes they refer to).
Variant decodeValue(const Column& column, std::span<const std::uint8_t> bytes, bool jet4);

// The stored bytes of a value of the column's own type (Byte, Integer, Long, Currency,
// Single, Double, Date or Text; Text of a fixed-length column padded with spaces; memo and
// long binary values as their long-value pages hold them). Throws UnencodableText for a Jet3
// text with a character outside Windows-1252.
std::vector<std::uint8_t> encodeValue(const Column& column, const Variant& value, bool jet4);

// Gives the row a value of a column that holds it in the row (not a memo or long binary).
void putValue(RowImage& row, const Column& column, const Variant& value, bool jet4);

} // namespace mdbengine::file
