#pragma once

// The stored form of a row: the column count, the fixed-length columns, the variable-length
// values with their offset table (one byte per offset and a jump table in Jet3, two bytes
// in Jet4, both written backwards from the end), the count of variable values and the null
// mask, whose bits are also the values of Boolean columns. Deleted columns keep their
// numbers and their bytes; a row written before columns were added has fewer of them.

#include "mdbengine/pages/JetFormat.h"

#include <cstdint>
#include <span>
#include <vector>

namespace mdbengine::file {

struct RowView {
    std::uint16_t columnCount = 0;
    // Everything between the column count and the first variable value.
    std::span<const std::uint8_t> fixed;
    // Variable values by their table entry; an empty one may be a null one.
    std::vector<std::span<const std::uint8_t>> variable;
    // Bytes between the last variable value and the offset table, which Access sometimes
    // leaves behind; kept so that a row reads back byte for byte.
    std::span<const std::uint8_t> padding;
    std::span<const std::uint8_t> nullMask;
    // False for tables without variable-length columns: their rows end with the mask alone.
    bool hasVariableSection = true;

    // The column's null-mask bit: set for a value (or a true Boolean).
    bool bit(std::uint16_t columnNumber) const;
};

// The parts of a stored row; they point into `row`. Throws FormatError when the offsets do
// not fit the row.
RowView crackRow(std::span<const std::uint8_t> row, const JetFormat& format,
                 bool hasVariableSection);
// The same into a view whose storage is used again: a walk over many rows allocates once.
void crackRow(std::span<const std::uint8_t> row, const JetFormat& format, bool hasVariableSection,
              RowView& view);

// The stored form of the parts; the exact inverse of crackRow.
std::vector<std::uint8_t> packRow(const RowView& parts, const JetFormat& format);

inline std::size_t nullMaskSize(std::uint16_t columnCount) {
    return (columnCount + 7u) / 8u;
}

} // namespace mdbengine::file
