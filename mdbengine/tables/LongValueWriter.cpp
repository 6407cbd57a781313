#include "mdbengine/tables/LongValueWriter.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/DataPageEditor.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/Column.h"
#include "mdbengine/tables/LongValue.h"
#include "mdbengine/tables/TableDefinition.h"

#include <algorithm>
#include <set>

namespace mdbengine::file {

namespace {

constexpr std::size_t inRowLimit = 64;
constexpr std::size_t chainPointerSize = 4;

// The largest row an empty page takes: the page less its header and one slot.
std::size_t largestRow(const JetFormat& format) {
    return format.pageSize - format.slotTableOffset() - 2;
}

std::vector<std::uint8_t> reference(std::uint32_t word, std::uint32_t pointer) {
    std::vector<std::uint8_t> bytes(longValueReferenceSize, 0);
    put32(bytes.data(), word);
    put32(bytes.data() + 4, pointer);
    return bytes;
}

} // namespace

LongValueWriter::LongValueWriter(PageStore& pages, const TableDefinition& table)
    : pages_(pages), table_(table) {}

std::size_t LongValueWriter::rowBytes(std::size_t length) {
    return longValueReferenceSize + (length <= inRowLimit ? length : 0);
}

std::vector<std::uint8_t> LongValueWriter::store(const Column& column,
                                                 std::span<const std::uint8_t> bytes) {
    auto length = static_cast<std::uint32_t>(bytes.size());
    if (bytes.size() > longValueLengthMask)
        throw FormatError("a long value is larger than the format allows");
    if (bytes.size() <= inRowLimit) {
        std::vector<std::uint8_t> row = reference(length | longValueInRow, 0);
        row.insert(row.end(), bytes.begin(), bytes.end());
        return row;
    }
    std::size_t largest = largestRow(pages_.format());
    if (bytes.size() <= largest)
        return reference(length | longValueSingleRow, placeRow(column, bytes));
    // The chain is written from its end, so that each row knows the pointer to the next.
    std::size_t piece = largest - chainPointerSize;
    std::size_t pieces = (bytes.size() + piece - 1) / piece;
    std::uint32_t next = 0;
    for (std::size_t i = pieces; i-- > 0;) {
        auto part = bytes.subspan(i * piece, std::min(piece, bytes.size() - i * piece));
        std::vector<std::uint8_t> row(chainPointerSize);
        put32(row.data(), next);
        row.insert(row.end(), part.begin(), part.end());
        next = placeRow(column, row);
    }
    return reference(length, next);
}

FreeSpacePages& LongValueWriter::freeSpace(const Column& column) {
    auto found = freeSpace_.find(column.number);
    if (found == freeSpace_.end()) {
        auto maps = table_.longValueMaps.find(column.number);
        std::uint32_t mapRow = maps != table_.longValueMaps.end() ? maps->second.freeSpace : 0;
        found =
            freeSpace_.emplace(column.number, FreeSpacePages(pages_, mapRow, longValuePageOwner))
                .first;
    }
    return found->second;
}

std::uint32_t LongValueWriter::placeRow(const Column& column, std::span<const std::uint8_t> row) {
    FreeSpacePages& pages = freeSpace(column);
    if (auto placed = pages.addRow(row, 0))
        return *placed;
    std::uint32_t page = newPage(column);
    pages.added(page);
    DataPageEditor editor(pages_.pageForChange(page), pages_.format());
    auto slot = editor.addRow(row, 0);
    if (!slot)
        throw FormatError("a long-value row does not fit an empty page");
    return DataPage::rowId(page, *slot);
}

std::uint32_t LongValueWriter::newPage(const Column& column) {
    std::uint32_t page = allocatePage(pages_);
    DataPageEditor::initialise(pages_.pageForChange(page), pages_.format(), longValuePageOwner);
    auto maps = table_.longValueMaps.find(column.number);
    if (maps != table_.longValueMaps.end()) {
        markInUsageMap(pages_, maps->second.ownedPages, page);
        markInUsageMap(pages_, maps->second.freeSpace, page);
    }
    return page;
}

// Only rows of long-value pages are given up, whatever a damaged pointer says.
bool LongValueWriter::deleteRow(const Column& column, std::uint32_t rowId) {
    std::uint32_t number = DataPage::pageOf(rowId);
    if (number >= pages_.pageCount())
        return false;
    DataPage page(pages_.page(number), pages_.format());
    std::uint16_t slot = DataPage::slotOf(rowId);
    if (page.owner() != longValuePageOwner || slot >= page.rowCount() || page.isDeleted(slot))
        return false;
    DataPageEditor(pages_.pageForChange(number), pages_.format())
        .setFlags(slot, JetFormat::slotDeleted | JetFormat::slotOverflow);
    freeSpace(column).gainedRoom(number);
    return true;
}

void LongValueWriter::release(const Column& column, std::span<const std::uint8_t> reference) {
    if (reference.size() < longValueReferenceSize)
        return;
    std::uint32_t word = get32(reference.data());
    std::uint32_t pointer = get32(reference.data() + 4);
    if ((word & longValueInRow) || (word & longValueLengthMask) == 0)
        return;
    try {
        if (word & longValueSingleRow) {
            deleteRow(column, pointer);
            return;
        }
        std::set<std::uint32_t> seen;
        while (pointer != 0 && seen.insert(pointer).second) {
            DataPage page(pages_.page(DataPage::pageOf(pointer)), pages_.format());
            auto row = page.row(DataPage::slotOf(pointer));
            std::uint32_t next = row.size() >= chainPointerSize ? get32(row.data()) : 0;
            if (!deleteRow(column, pointer))
                return;
            pointer = next;
        }
    } catch (const FormatError&) {
        // What cannot be read is left where it is; the row no longer points to it.
    }
}

} // namespace mdbengine::file
