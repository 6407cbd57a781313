#include "platform/dao/jet/TableWriter.h"

#include "platform/dao/jet/ByteOrder.h"
#include "platform/dao/jet/DataPage.h"
#include "platform/dao/jet/DataPageEditor.h"
#include "platform/dao/jet/DeletedRow.h"
#include "platform/dao/jet/FormatError.h"
#include "platform/dao/jet/PageStore.h"
#include "platform/dao/jet/RowTooLarge.h"
#include "platform/dao/jet/TableDefinition.h"
#include "platform/dao/jet/UsageMap.h"

#include <array>

namespace platform::dao::jet {

namespace {

constexpr std::uint16_t movedImage = JetFormat::slotDeleted;
constexpr std::uint16_t pointerSlot = JetFormat::slotOverflow;
constexpr std::uint16_t deletedSlot = JetFormat::slotDeleted | JetFormat::slotOverflow;

std::array<std::uint8_t, 4> pointerTo(std::uint32_t rowId) {
    std::array<std::uint8_t, 4> bytes{};
    put32(bytes.data(), rowId);
    return bytes;
}

} // namespace

TableWriter::TableWriter(PageStore& pages, const TableDefinition& table)
    : pages_(pages), tablePage_(table.page), ownedPagesMap_(table.ownedPagesMap),
      freeSpaceMap_(table.freeSpaceMap) {}

std::uint32_t TableWriter::newPage() {
    std::uint32_t page = allocatePage(pages_);
    DataPageEditor::initialise(pages_.pageForChange(page), pages_.format(), tablePage_);
    markInUsageMap(pages_, ownedPagesMap_, page);
    markInUsageMap(pages_, freeSpaceMap_, page);
    return page;
}

// The last page a row went to, while it has room, else a new page.
std::uint32_t TableWriter::place(std::span<const std::uint8_t> row, std::uint16_t flags) {
    const JetFormat& format = pages_.format();
    if (row.size() + 2 > format.pageSize - format.slotTableOffset())
        throw RowTooLarge();
    if (lastPlacedPage_ != 0 && lastPlacedPage_ < pages_.pageCount()) {
        auto bytes = pages_.page(lastPlacedPage_);
        if (bytes[0] == static_cast<std::uint8_t>(PageType::Data) &&
            get32(bytes.data() + format.dataTableOffset) == tablePage_) {
            DataPageEditor editor(pages_.pageForChange(lastPlacedPage_), format);
            if (auto slot = editor.addRow(row, flags))
                return DataPage::rowId(lastPlacedPage_, *slot);
        }
    }
    lastPlacedPage_ = newPage();
    DataPageEditor editor(pages_.pageForChange(lastPlacedPage_), format);
    auto slot = editor.addRow(row, flags);
    if (!slot)
        throw RowTooLarge();
    return DataPage::rowId(lastPlacedPage_, *slot);
}

void TableWriter::update(std::uint32_t rowId, std::span<const std::uint8_t> row) {
    const JetFormat& format = pages_.format();
    std::uint32_t homePage = DataPage::pageOf(rowId);
    std::uint16_t homeSlot = DataPage::slotOf(rowId);
    DataPageEditor home(pages_.pageForChange(homePage), format);
    if (homeSlot >= home.rowCount() ||
        DataPage(pages_.page(homePage), format).owner() != tablePage_)
        throw FormatError("a row id names no row of its table");
    std::uint16_t flags = home.flags(homeSlot);
    if (flags & JetFormat::slotDeleted)
        throw DeletedRow();

    if (!(flags & pointerSlot)) {
        if (home.replaceRow(homeSlot, row, flags))
            return;
        std::uint32_t image = place(row, movedImage);
        DataPageEditor again(pages_.pageForChange(homePage), format);
        if (!again.replaceRow(homeSlot, pointerTo(image), pointerSlot))
            throw FormatError("a page cannot take a row pointer");
        return;
    }

    DataPage homeView(pages_.page(homePage), format);
    auto pointer = homeView.row(homeSlot);
    if (pointer.size() < 4)
        throw FormatError("an overflow pointer is too short");
    std::uint32_t oldImage = get32(pointer.data());
    std::uint32_t imagePage = DataPage::pageOf(oldImage);
    DataPageEditor image(pages_.pageForChange(imagePage), format);
    if (DataPage::slotOf(oldImage) >= image.rowCount() ||
        DataPage(pages_.page(imagePage), format).owner() != tablePage_)
        throw FormatError("an overflow pointer leads nowhere");
    if (image.replaceRow(DataPage::slotOf(oldImage), row, movedImage))
        return;
    DataPageEditor homeAgain(pages_.pageForChange(homePage), format);
    if (!homeAgain.replaceRow(homeSlot, row, 0)) {
        std::uint32_t moved = place(row, movedImage);
        DataPageEditor homeLast(pages_.pageForChange(homePage), format);
        homeLast.replaceRow(homeSlot, pointerTo(moved), pointerSlot);
    }
    DataPageEditor(pages_.pageForChange(imagePage), format)
        .setFlags(DataPage::slotOf(oldImage), deletedSlot);
}

std::uint32_t TableWriter::insert(std::span<const std::uint8_t> row) {
    std::uint32_t rowId = place(row, 0);
    addToRowCount(1);
    return rowId;
}

void TableWriter::remove(std::uint32_t rowId) {
    const JetFormat& format = pages_.format();
    std::uint32_t homePage = DataPage::pageOf(rowId);
    std::uint16_t homeSlot = DataPage::slotOf(rowId);
    DataPage view(pages_.page(homePage), format);
    if (homeSlot >= view.rowCount() || view.owner() != tablePage_)
        throw FormatError("a row id names no row of its table");
    if (view.isDeleted(homeSlot))
        throw DeletedRow();
    if (view.isOverflowPointer(homeSlot)) {
        auto pointer = view.row(homeSlot);
        if (pointer.size() >= 4) {
            std::uint32_t image = get32(pointer.data());
            DataPage imageView(pages_.page(DataPage::pageOf(image)), format);
            if (DataPage::slotOf(image) < imageView.rowCount() && imageView.owner() == tablePage_)
                DataPageEditor(pages_.pageForChange(DataPage::pageOf(image)), format)
                    .setFlags(DataPage::slotOf(image), deletedSlot);
        }
    }
    DataPageEditor(pages_.pageForChange(homePage), format).setFlags(homeSlot, deletedSlot);
    addToRowCount(-1);
}

void TableWriter::addToRowCount(std::int32_t delta) {
    auto definition = pages_.pageForChange(tablePage_);
    std::uint8_t* count = definition.data() + pages_.format().tdefRowCountOffset;
    put32(count, static_cast<std::uint32_t>(static_cast<std::int64_t>(get32(count)) + delta));
}

std::uint32_t TableWriter::takeAutoNumber() {
    auto definition = pages_.pageForChange(tablePage_);
    std::uint8_t* last = definition.data() + pages_.format().tdefAutonumberOffset;
    std::uint32_t next = get32(last) + 1;
    put32(last, next);
    return next;
}

} // namespace platform::dao::jet
