#include "mdbengine/tables/RowCodec.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"

namespace mdbengine::file {

namespace {

constexpr std::uint8_t noJump = 0xFF;

// Jet3 offsets are one byte; the jump table says from which entry on each further 256
// bytes are to be added. Its length depends on the row's length alone.
std::size_t jumpCount(std::size_t rowLength) {
    return rowLength == 0 ? 0 : (rowLength - 1) / 256;
}

// The offsets of a row's variable values, read from its offset table: entry i of Jet3's
// one-byte table gains 256 for every jump entry at or below i.
class OffsetTable {
public:
    OffsetTable(std::span<const std::uint8_t> row, const JetFormat& format, std::size_t varLenPos,
                std::size_t varCount)
        : row_(row), jet4_(format.jet4), varLenPos_(varLenPos),
          jumps_(format.jet4 ? 0 : jumpCount(row.size())) {
        std::size_t needed = jet4_ ? 2 * (varCount + 1) : jumps_ + varCount + 1;
        if (varLenPos < needed)
            throw FormatError("a row's offset table does not fit the row");
        start_ = varLenPos - needed;
    }

    std::size_t operator[](std::size_t i) const {
        if (jet4_)
            return get16(row_.data() + varLenPos_ - 2 * (i + 1));
        std::size_t high = 0;
        for (std::size_t k = 0; k < jumps_; ++k)
            if (row_[varLenPos_ - 1 - k] <= i)
                ++high;
        return row_[varLenPos_ - jumps_ - 1 - i] + 256 * high;
    }
    // Where the table itself begins.
    std::size_t start() const { return start_; }

private:
    std::span<const std::uint8_t> row_;
    bool jet4_;
    std::size_t varLenPos_;
    std::size_t jumps_;
    std::size_t start_ = 0;
};

} // namespace

bool RowView::bit(std::uint16_t columnNumber) const {
    if (columnNumber >= columnCount || columnNumber / 8u >= nullMask.size())
        return false;
    return (nullMask[columnNumber / 8u] >> (columnNumber % 8u)) & 1u;
}

RowView crackRow(std::span<const std::uint8_t> row, const JetFormat& format,
                 bool hasVariableSection) {
    RowView view;
    crackRow(row, format, hasVariableSection, view);
    return view;
}

void crackRow(std::span<const std::uint8_t> row, const JetFormat& format, bool hasVariableSection,
              RowView& view) {
    const std::size_t field = format.rowFieldSize;
    if (row.size() < field)
        throw FormatError("a row is shorter than its column count");
    view.variable.clear();
    view.padding = {};
    view.hasVariableSection = hasVariableSection;
    view.columnCount = format.jet4 ? get16(row.data()) : row[0];
    std::size_t maskSize = nullMaskSize(view.columnCount);
    if (row.size() < field + maskSize)
        throw FormatError("a row is shorter than its null mask");
    std::size_t maskPos = row.size() - maskSize;
    view.nullMask = row.subspan(maskPos);
    if (!hasVariableSection) {
        view.fixed = row.subspan(field, maskPos - field);
        return;
    }
    if (maskPos < 2 * field)
        throw FormatError("a row is too short for its variable columns");
    std::size_t varLenPos = maskPos - field;
    std::size_t varCount = format.jet4 ? get16(row.data() + varLenPos) : row[varLenPos];
    OffsetTable offsets(row, format, varLenPos, varCount);
    std::size_t first = offsets[0];
    if (first < field)
        throw FormatError("a row's variable values overlap its column count");
    view.fixed = row.subspan(field, first - field);
    std::size_t from = first;
    for (std::size_t i = 0; i < varCount; ++i) {
        std::size_t to = offsets[i + 1];
        if (from > to)
            throw FormatError("a row's variable values are out of order");
        if (to > offsets.start())
            throw FormatError("a row's variable values overlap its offset table");
        view.variable.push_back(row.subspan(from, to - from));
        from = to;
    }
    if (from > offsets.start())
        throw FormatError("a row's variable values overlap its offset table");
    view.padding = row.subspan(from, offsets.start() - from);
}

std::vector<std::uint8_t> packRow(const RowView& parts, const JetFormat& format) {
    const std::size_t field = format.rowFieldSize;
    std::size_t values = 0;
    for (const auto& value : parts.variable)
        values += value.size();
    std::vector<std::uint8_t> row;
    row.reserve(field + parts.fixed.size() + values + parts.padding.size() +
                (parts.variable.size() + 2) * 2 + 4 + parts.nullMask.size());
    row.resize(field);
    if (format.jet4)
        put16(row.data(), parts.columnCount);
    else
        row[0] = static_cast<std::uint8_t>(parts.columnCount);
    row.insert(row.end(), parts.fixed.begin(), parts.fixed.end());
    if (!parts.hasVariableSection) {
        row.insert(row.end(), parts.nullMask.begin(), parts.nullMask.end());
        return row;
    }

    std::size_t varCount = parts.variable.size();
    std::vector<std::size_t> offsets{row.size()};
    for (const auto& value : parts.variable) {
        row.insert(row.end(), value.begin(), value.end());
        offsets.push_back(row.size());
    }
    row.insert(row.end(), parts.padding.begin(), parts.padding.end());
    if (format.jet4) {
        for (std::size_t i = varCount + 1; i-- > 0;) {
            row.push_back(0);
            row.push_back(0);
            put16(row.data() + row.size() - 2, static_cast<std::uint32_t>(offsets[i]));
        }
        row.push_back(0);
        row.push_back(0);
        put16(row.data() + row.size() - 2, static_cast<std::uint32_t>(varCount));
    } else {
        std::size_t base = row.size() + varCount + 1 + 1 + parts.nullMask.size();
        std::size_t jumps = 0;
        while ((base + jumps - 1) / 256 > jumps)
            ++jumps;
        for (std::size_t i = varCount + 1; i-- > 0;)
            row.push_back(static_cast<std::uint8_t>(offsets[i] & 0xFF));
        for (std::size_t k = jumps; k-- > 0;) {
            std::uint8_t entry = noJump;
            for (std::size_t i = 0; i <= varCount; ++i)
                if (offsets[i] >= 256 * (k + 1)) {
                    entry = static_cast<std::uint8_t>(i);
                    break;
                }
            row.push_back(entry);
        }
        row.push_back(static_cast<std::uint8_t>(varCount));
    }
    row.insert(row.end(), parts.nullMask.begin(), parts.nullMask.end());
    return row;
}

} // namespace mdbengine::file
