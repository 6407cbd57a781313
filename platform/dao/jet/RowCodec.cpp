#include "platform/dao/jet/RowCodec.h"

#include "platform/dao/jet/ByteOrder.h"
#include "platform/dao/jet/FormatError.h"

namespace platform::dao::jet {

namespace {

constexpr std::uint8_t noJump = 0xFF;

// Jet3 offsets are one byte; the jump table says from which entry on each further 256
// bytes are to be added. Its length depends on the row's length alone.
std::size_t jumpCount(std::size_t rowLength) {
    return rowLength == 0 ? 0 : (rowLength - 1) / 256;
}

std::vector<std::size_t> jet3Offsets(std::span<const std::uint8_t> row, std::size_t varLenPos,
                                     std::size_t varCount) {
    std::size_t jumps = jumpCount(row.size());
    if (varLenPos < jumps + varCount + 1)
        throw FormatError("a row's offset table does not fit the row");
    std::vector<std::size_t> offsets(varCount + 1);
    for (std::size_t i = 0; i <= varCount; ++i) {
        std::size_t high = 0;
        for (std::size_t k = 0; k < jumps; ++k)
            if (row[varLenPos - 1 - k] <= i)
                ++high;
        offsets[i] = row[varLenPos - jumps - 1 - i] + 256 * high;
    }
    return offsets;
}

std::vector<std::size_t> jet4Offsets(std::span<const std::uint8_t> row, std::size_t varLenPos,
                                     std::size_t varCount) {
    if (varLenPos < 2 * (varCount + 1))
        throw FormatError("a row's offset table does not fit the row");
    std::vector<std::size_t> offsets(varCount + 1);
    for (std::size_t i = 0; i <= varCount; ++i)
        offsets[i] = get16(row.data() + varLenPos - 2 * (i + 1));
    return offsets;
}

} // namespace

bool RowView::bit(std::uint16_t columnNumber) const {
    if (columnNumber >= columnCount || columnNumber / 8u >= nullMask.size())
        return false;
    return (nullMask[columnNumber / 8u] >> (columnNumber % 8u)) & 1u;
}

RowView crackRow(std::span<const std::uint8_t> row, const JetFormat& format,
                 bool hasVariableSection) {
    const std::size_t field = format.rowFieldSize;
    if (row.size() < field)
        throw FormatError("a row is shorter than its column count");
    RowView view;
    view.hasVariableSection = hasVariableSection;
    view.columnCount = format.jet4 ? get16(row.data()) : row[0];
    std::size_t maskSize = nullMaskSize(view.columnCount);
    if (row.size() < field + maskSize)
        throw FormatError("a row is shorter than its null mask");
    std::size_t maskPos = row.size() - maskSize;
    view.nullMask = row.subspan(maskPos);
    if (!hasVariableSection) {
        view.fixed = row.subspan(field, maskPos - field);
        return view;
    }
    if (maskPos < 2 * field)
        throw FormatError("a row is too short for its variable columns");
    std::size_t varLenPos = maskPos - field;
    std::size_t varCount = format.jet4 ? get16(row.data() + varLenPos) : row[varLenPos];
    std::vector<std::size_t> offsets =
        format.jet4 ? jet4Offsets(row, varLenPos, varCount) : jet3Offsets(row, varLenPos, varCount);
    std::size_t tableStart =
        varLenPos - (format.jet4 ? 2 * (varCount + 1) : jumpCount(row.size()) + varCount + 1);
    if (offsets[0] < field)
        throw FormatError("a row's variable values overlap its column count");
    for (std::size_t i = 0; i < varCount; ++i)
        if (offsets[i] > offsets[i + 1])
            throw FormatError("a row's variable values are out of order");
    if (offsets[varCount] > tableStart)
        throw FormatError("a row's variable values overlap its offset table");
    view.fixed = row.subspan(field, offsets[0] - field);
    view.variable.reserve(varCount);
    for (std::size_t i = 0; i < varCount; ++i)
        view.variable.push_back(row.subspan(offsets[i], offsets[i + 1] - offsets[i]));
    view.padding = row.subspan(offsets[varCount], tableStart - offsets[varCount]);
    return view;
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

} // namespace platform::dao::jet
