#include "mdbengine/pages/DataPageEditor.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/FormatError.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace mdbengine::file {

namespace {

constexpr std::uint16_t flagBits = JetFormat::slotDeleted | JetFormat::slotOverflow;
// Both bits: a deleted row (0x8000 alone is a moved row's image).
constexpr std::uint16_t deletedFlags = flagBits;
constexpr std::size_t maxRows = 256; // a row id keeps one byte for the slot

} // namespace

DataPageEditor::DataPageEditor(std::span<std::uint8_t> page, const JetFormat& format)
    : page_(page), format_(format) {
    if (page_[0] != static_cast<std::uint8_t>(PageType::Data) || rowCount() > maxRows ||
        slotTableEnd(rowCount()) > page_.size())
        throw FormatError("a data page to change is not one");
}

void DataPageEditor::initialise(std::span<std::uint8_t> page, const JetFormat& format,
                                std::uint32_t tablePage) {
    std::fill(page.begin(), page.end(), 0);
    page[0] = static_cast<std::uint8_t>(PageType::Data);
    page[1] = 0x01;
    put32(page.data() + format.dataTableOffset, tablePage);
    put16(page.data() + format.dataRowCountOffset, 0);
    put16(page.data() + format.dataFreeSpaceOffset, format.pageSize - format.slotTableOffset());
}

std::uint16_t DataPageEditor::rowCount() const {
    return get16(page_.data() + format_.dataRowCountOffset);
}

std::uint16_t DataPageEditor::flags(std::uint16_t row) const {
    return get16(page_.data() + format_.slotTableOffset() + 2u * row) & flagBits;
}

std::size_t DataPageEditor::slotTableEnd(std::size_t rows) const {
    return format_.slotTableOffset() + 2 * rows;
}

bool DataPageEditor::deleted(std::uint16_t row) const {
    return flags(row) == deletedFlags;
}

std::size_t DataPageEditor::freeSpace() const {
    return get16(page_.data() + format_.dataFreeSpaceOffset);
}

void DataPageEditor::setFreeSpace(std::size_t bytes) {
    put16(page_.data() + format_.dataFreeSpaceOffset, static_cast<std::uint32_t>(bytes));
}

std::size_t DataPageEditor::slotOffset(std::uint16_t row) const {
    return get16(page_.data() + format_.slotTableOffset() + 2u * row) & JetFormat::slotOffsetMask;
}

// A page as the rewrite leaves it (rows from the end downwards in slot order, deleted ones
// without bytes, no gaps) changes in place: the rows below the changed one move by the
// difference in length, the page ends up as a rewrite would leave it. Nothing when the page
// is laid out otherwise.
std::optional<bool> DataPageEditor::replaceInLayout(std::uint16_t row,
                                                    std::span<const std::uint8_t> bytes,
                                                    std::uint16_t flags) {
    std::uint16_t count = rowCount();
    std::size_t position = page_.size();
    std::size_t oldStart = 0;
    std::size_t oldEnd = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::size_t offset = slotOffset(i);
        if (offset > position || (offset != position && deleted(i) && i != row))
            return std::nullopt;
        if (i == row) {
            oldStart = offset;
            oldEnd = position;
        }
        position = offset;
    }
    std::size_t lowest = position;
    std::size_t tableEnd = slotTableEnd(count);
    if (lowest < tableEnd)
        return std::nullopt;
    std::size_t oldLength = oldEnd - oldStart;
    if (tableEnd + (page_.size() - lowest) - oldLength + bytes.size() > page_.size())
        return false;
    std::size_t newLowest = lowest + oldLength - bytes.size();
    std::size_t newStart = oldEnd - bytes.size();
    std::memmove(page_.data() + newLowest, page_.data() + lowest, oldStart - lowest);
    std::memcpy(page_.data() + newStart, bytes.data(), bytes.size());
    for (std::uint16_t i = row; i < count; ++i) {
        std::size_t offset = i == row ? newStart : slotOffset(i) + newLowest - lowest;
        std::uint16_t slotFlags = i == row ? flags : this->flags(i);
        put16(page_.data() + format_.slotTableOffset() + 2u * i,
              static_cast<std::uint32_t>(slotFlags | offset));
    }
    std::fill(page_.begin() + static_cast<std::ptrdiff_t>(tableEnd),
              page_.begin() + static_cast<std::ptrdiff_t>(newLowest), 0);
    setFreeSpace(newLowest - tableEnd);
    return true;
}

bool DataPageEditor::replaceRow(std::uint16_t row, std::span<const std::uint8_t> bytes,
                                std::uint16_t flags) {
    if (std::optional<bool> done = replaceInLayout(row, bytes, flags))
        return *done;
    return layOut(Replacement{row, bytes, flags});
}

bool DataPageEditor::layOut(std::optional<Replacement> replacement) {
    DataPage view(page_, format_);
    std::uint16_t count = view.rowCount();
    auto replaced = [&](std::uint16_t i) { return replacement && replacement->row == i; };
    // Every row's bytes, in slot order, gathered before the page is written over.
    std::vector<std::uint8_t> gathered;
    std::vector<std::size_t> lengths(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        // A deleted row gives its bytes up; its slot stays, with no bytes.
        auto current = replaced(i)  ? replacement->bytes
                       : deleted(i) ? std::span<const std::uint8_t>()
                                    : view.row(i);
        gathered.insert(gathered.end(), current.begin(), current.end());
        lengths[i] = current.size();
    }
    if (slotTableEnd(count) + gathered.size() > page_.size())
        return false;
    std::size_t position = page_.size();
    std::size_t from = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        position -= lengths[i];
        if (lengths[i] > 0)
            std::memcpy(page_.data() + position, gathered.data() + from, lengths[i]);
        from += lengths[i];
        std::uint16_t slotFlags = replaced(i) ? replacement->flags : this->flags(i);
        put16(page_.data() + format_.slotTableOffset() + 2u * i,
              static_cast<std::uint32_t>(slotFlags | position));
    }
    std::fill(page_.begin() + static_cast<std::ptrdiff_t>(slotTableEnd(count)),
              page_.begin() + static_cast<std::ptrdiff_t>(position), 0);
    setFreeSpace(position - slotTableEnd(count));
    return true;
}

std::size_t DataPageEditor::lowestRow() const {
    std::uint16_t count = rowCount();
    std::size_t lowest = page_.size();
    for (std::uint16_t i = 0; i < count; ++i) {
        std::size_t offset = slotOffset(i);
        if (offset >= slotTableEnd(count))
            lowest = std::min(lowest, offset);
    }
    return lowest;
}

std::optional<std::uint16_t> DataPageEditor::addRow(std::span<const std::uint8_t> bytes,
                                                    std::uint16_t flags) {
    std::uint16_t count = rowCount();
    if (count >= maxRows || freeSpace() < bytes.size() + 2)
        return std::nullopt;
    // The new row goes below the lowest one, whatever gaps rows written elsewhere left
    // (deleted slots may hold any offset); the bytes of deleted rows are given up first when
    // that room is short.
    auto fits = [&] { return lowestRow() >= slotTableEnd(count + 1) + bytes.size(); };
    if (!fits() && !(layOut(std::nullopt) && fits()))
        return std::nullopt;
    std::size_t position = lowestRow() - bytes.size();
    std::memcpy(page_.data() + position, bytes.data(), bytes.size());
    put16(page_.data() + format_.slotTableOffset() + 2u * count,
          static_cast<std::uint32_t>(flags | position));
    put16(page_.data() + format_.dataRowCountOffset, count + 1u);
    setFreeSpace(freeSpace() - bytes.size() - 2);
    return count;
}

// The free-space word is computed again, whatever the page claimed before (Access pages may
// claim less).
void DataPageEditor::setFlags(std::uint16_t row, std::uint16_t flags) {
    std::uint8_t* slot = page_.data() + format_.slotTableOffset() + 2u * row;
    put16(slot, static_cast<std::uint32_t>((get16(slot) & ~flagBits & 0xFFFF) | flags));
    DataPage view(page_, format_);
    std::size_t live = 0;
    for (std::uint16_t i = 0; i < view.rowCount(); ++i)
        if (!deleted(i))
            live += view.row(i).size();
    setFreeSpace(page_.size() - slotTableEnd(view.rowCount()) - live);
}

} // namespace mdbengine::file
