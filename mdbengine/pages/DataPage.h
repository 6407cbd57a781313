#pragma once

// A view of a data page: its owner, and its slot table of row offsets with their flags.
// Rows are stored from the end of the page downwards; a row runs from its offset up to the
// next higher offset of any slot (deleted ones included), the first up to the page end.

#include "mdbengine/pages/JetFormat.h"

#include <cstdint>
#include <span>
#include <vector>

namespace mdbengine::file {

class DataPage {
public:
    // Throws FormatError when the page is not a data page or its slot table does not fit.
    DataPage(std::span<const std::uint8_t> page, const JetFormat& format);

    std::uint32_t owner() const;
    std::uint16_t freeSpace() const;
    std::uint16_t rowCount() const { return rowCount_; }
    std::uint16_t slot(std::uint16_t row) const;
    bool isDeleted(std::uint16_t row) const { return (slot(row) & JetFormat::slotDeleted) != 0; }
    bool isOverflowPointer(std::uint16_t row) const {
        return (slot(row) & JetFormat::slotOverflow) != 0;
    }
    // Throws FormatError when the offset lies outside the page's row area.
    std::span<const std::uint8_t> row(std::uint16_t row) const;

    // A row id: page number and slot.
    static std::uint32_t rowId(std::uint32_t page, std::uint16_t row) { return page << 8 | row; }
    static std::uint32_t pageOf(std::uint32_t rowId) { return rowId >> 8; }
    static std::uint16_t slotOf(std::uint32_t rowId) { return rowId & 0xFF; }

private:
    std::span<const std::uint8_t> page_;
    const JetFormat& format_;
    std::uint16_t rowCount_;
    std::vector<std::uint16_t> sortedOffsets_;
};

} // namespace mdbengine::file
