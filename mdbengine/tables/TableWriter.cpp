#include "mdbengine/tables/TableWriter.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/DataPageEditor.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/tables/DamagedIndex.h"
#include "mdbengine/tables/DeletedRow.h"
#include "mdbengine/tables/IndexKey.h"
#include "mdbengine/tables/IndexViolation.h"
#include "mdbengine/tables/RequiredValueMissing.h"
#include "mdbengine/tables/RowTooLarge.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TableRows.h"
#include "mdbengine/tables/UnencodableKey.h"

#include <algorithm>
#include <array>

namespace mdbengine::file {

namespace {

constexpr std::uint16_t movedImage = JetFormat::slotDeleted;
constexpr std::uint16_t pointerSlot = JetFormat::slotOverflow;
constexpr std::uint16_t deletedSlot = JetFormat::slotDeleted | JetFormat::slotOverflow;

std::array<std::uint8_t, 4> pointerTo(std::uint32_t rowId) {
    std::array<std::uint8_t, 4> bytes{};
    put32(bytes.data(), rowId);
    return bytes;
}

void checkFits(std::size_t rowSize, const JetFormat& format) {
    if (rowSize + 2 > format.pageSize - format.slotTableOffset())
        throw RowTooLarge();
}

} // namespace

TableWriter::TableWriter(PageStore& pages, const TableDefinition& table)
    : pages_(pages), table_(table), tablePage_(table.page), ownedPagesMap_(table.ownedPagesMap),
      freeSpace_(pages, table.freeSpaceMap, table.page), longValues_(pages, table) {}

std::uint32_t TableWriter::newPage() {
    std::uint32_t page = allocatePage(pages_);
    DataPageEditor::initialise(pages_.pageForChange(page), pages_.format(), tablePage_);
    markInUsageMap(pages_, ownedPagesMap_, page);
    markInUsageMap(pages_, table_.freeSpaceMap, page);
    return page;
}

// A page with room, as the map of pages with free space says, else a new page.
std::uint32_t TableWriter::place(std::span<const std::uint8_t> row, std::uint16_t flags) {
    const JetFormat& format = pages_.format();
    checkFits(row.size(), format);
    if (std::optional<std::uint32_t> placed = freeSpace_.addRow(row, flags))
        return *placed;
    std::uint32_t page = newPage();
    freeSpace_.added(page);
    DataPageEditor editor(pages_.pageForChange(page), format);
    auto slot = editor.addRow(row, flags);
    if (!slot)
        throw RowTooLarge();
    return DataPage::rowId(page, *slot);
}

void TableWriter::checkRequired(const RowView& row) const {
    for (std::uint16_t number : table_.requiredColumns) {
        const Column* column = table_.columnByNumber(number);
        // A Yes/No value is never Null.
        if (column != nullptr && column->type != ColumnType::Boolean && !columnBytes(*column, row))
            throw RequiredValueMissing(column->name);
    }
}

std::uint32_t TableWriter::ownerOf(std::uint32_t page) {
    return get32(pages_.page(page).data() + pages_.format().dataTableOffset);
}

void TableWriter::writeRow(std::uint32_t rowId, std::span<const std::uint8_t> row) {
    const JetFormat& format = pages_.format();
    std::uint32_t homePage = DataPage::pageOf(rowId);
    std::uint16_t homeSlot = DataPage::slotOf(rowId);
    DataPageEditor home(pages_.pageForChange(homePage), format);
    if (homeSlot >= home.rowCount() || ownerOf(homePage) != tablePage_)
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
    if (DataPage::slotOf(oldImage) >= image.rowCount() || ownerOf(imagePage) != tablePage_)
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
    freeSpace_.gainedRoom(imagePage);
}

// A tree is read whole and checked the first time a change goes through it, before the
// change writes anything; a damaged one is refused each time it is asked for.
IndexTree& TableWriter::tree(std::size_t index) {
    if (auto found = trees_.find(index); found != trees_.end())
        return *found->second;
    auto tree = std::make_unique<IndexTree>(pages_, tablePage_, table_.storedIndexes[index]);
    try {
        tree->checkShape();
    } catch (const FormatError& e) {
        throw DamagedIndex(indexName(index), e.what());
    }
    return *trees_.emplace(index, std::move(tree)).first->second;
}

void TableWriter::flush() {
    for (auto& [index, tree] : trees_)
        tree->flush();
}

// The name users know the index by: its primary key's, else the first over it.
std::string TableWriter::indexName(std::size_t index) const {
    const IndexDefinition* named = nullptr;
    for (const IndexDefinition& definition : table_.indexes)
        if (definition.storedIndex == index && (named == nullptr || definition.primary))
            named = &definition;
    return named ? named->name : "index " + std::to_string(index);
}

bool TableWriter::keyColumnsDiffer(std::size_t index, const RowView& before, const RowView& after,
                                   const LongValues& longValues) const {
    for (const IndexColumn& part : table_.storedIndexes[index].columns) {
        const Column* column = table_.columnByNumber(part.columnNumber);
        if (column == nullptr || (column->isLongValue() && longValues.count(column->number)))
            return true;
        if (column->type == ColumnType::Boolean) {
            if (before.bit(column->number) != after.bit(column->number))
                return true;
            continue;
        }
        auto was = columnBytes(*column, before);
        auto is = columnBytes(*column, after);
        if (was.has_value() != is.has_value() ||
            (was && !std::equal(was->begin(), was->end(), is->begin(), is->end())))
            return true;
    }
    return false;
}

// The key a row will have, after the index's rules: nothing when it has no entry.
std::optional<std::vector<std::uint8_t>>
TableWriter::checkedNewKey(std::size_t index, const IndexKey& key,
                           std::optional<std::uint32_t> rowId) {
    const StoredIndex& stored = table_.storedIndexes[index];
    if (stored.required && key.anyNull)
        throw IndexViolation(IndexViolation::Kind::Null, indexName(index));
    if (stored.ignoreNulls && key.allNull)
        return std::nullopt;
    // A Null equals nothing, so a key with one is never a duplicate: unique indexes Access
    // wrote hold keys of Null columns more than once.
    if (stored.unique && !key.anyNull &&
        (tree(index).holdsKey(key.bytes, rowId) ||
         (key.earlierForm && tree(index).holdsKey(*key.earlierForm, rowId))))
        throw IndexViolation(IndexViolation::Kind::Duplicate, indexName(index));
    return key.bytes;
}

// The packed row with its long values: stored, or (to measure the row and compute its keys
// before anything is written) stand-ins of their size.
std::vector<std::uint8_t>
TableWriter::packWithLongValues(RowImage& row, const LongValues& longValues, bool store) {
    for (const auto& [number, value] : longValues) {
        const Column* column = table_.columnByNumber(number);
        if (column == nullptr || !column->isLongValue())
            throw FormatError("a long value is given for a column that takes none");
        if (!value) {
            row.setValue(*column, std::nullopt);
            continue;
        }
        auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(value->data()), value->size());
        row.setValue(*column,
                     store ? longValues_.store(*column, bytes)
                           : std::vector<std::uint8_t>(LongValueWriter::rowBytes(bytes.size()), 0));
    }
    return row.pack(pages_.format());
}

std::vector<std::uint8_t> TableWriter::measure(const RowImage& row, const LongValues& longValues) {
    if (longValues.empty())
        return row.pack(pages_.format());
    RowImage measured = row;
    return packWithLongValues(measured, longValues, false);
}

namespace {

// The key a row has now; nothing when its values have none known here.
std::optional<IndexKey> currentKey(const TableDefinition& table, const StoredIndex& index,
                                   const KeyedRow& row) {
    try {
        return indexKey(table, index, row);
    } catch (const UnencodableKey&) {
        return std::nullopt;
    }
}

} // namespace

void TableWriter::applyIndexChanges(const std::vector<IndexChange>& changes, std::uint32_t rowId) {
    for (const IndexChange& change : changes) {
        IndexTree& index = tree(change.index);
        // The row's entry is found by its key, in either form, else by a walk.
        auto removedByKey = [&] {
            return change.oldKey &&
                   (index.remove(*change.oldKey, rowId) ||
                    (change.oldEarlierKey && index.remove(*change.oldEarlierKey, rowId)));
        };
        if (change.hadEntry && !removedByKey())
            index.removeRow(rowId);
        if (change.newKey)
            index.insert(*change.newKey, rowId);
    }
}

void TableWriter::update(std::uint32_t rowId, RowImage row, const LongValues& longValues) {
    const JetFormat& format = pages_.format();
    // Most changes (the sort information) touch no index and no long value: the row is
    // packed once and written.
    if (table_.storedIndexes.empty() && longValues.empty()) {
        std::vector<std::uint8_t> packed = row.pack(format);
        checkFits(packed.size(), format);
        if (!table_.requiredColumns.empty())
            checkRequired(crackRow(packed, format, table_.varColumnCount > 0));
        writeRow(rowId, packed);
        return;
    }
    bool variable = table_.varColumnCount > 0;
    StoredRow stored = findRow(pages_, tablePage_, rowId);
    std::vector<std::uint8_t> oldBytes(stored.bytes.begin(), stored.bytes.end());
    RowView before = crackRow(oldBytes, format, variable);
    std::vector<std::uint8_t> sized = measure(row, longValues);
    checkFits(sized.size(), format);
    RowView after = crackRow(sized, format, variable);
    checkRequired(after);

    std::vector<IndexChange> changes;
    for (std::size_t i = 0; i < table_.storedIndexes.size(); ++i) {
        if (!keyColumnsDiffer(i, before, after, longValues))
            continue;
        const StoredIndex& index = table_.storedIndexes[i];
        tree(i);
        IndexChange change;
        change.index = i;
        change.newKey =
            checkedNewKey(i, indexKey(table_, index, {after, pages_, &longValues}), rowId);
        std::optional<IndexKey> old = currentKey(table_, index, {before, pages_});
        change.hadEntry = !(old && index.ignoreNulls && old->allNull);
        if (old) {
            change.oldKey = old->bytes;
            change.oldEarlierKey = old->earlierForm;
        }
        changes.push_back(std::move(change));
    }

    writeRow(rowId, longValues.empty() ? sized : packWithLongValues(row, longValues, true));
    for (const auto& [number, value] : longValues)
        if (const Column* column = table_.columnByNumber(number))
            if (auto reference = columnBytes(*column, before))
                longValues_.release(*column, *reference);
    applyIndexChanges(changes, rowId);
}

std::uint32_t TableWriter::insert(RowImage row, const LongValues& longValues) {
    const JetFormat& format = pages_.format();
    std::vector<std::uint8_t> sized = measure(row, longValues);
    checkFits(sized.size(), format);
    RowView after = crackRow(sized, format, table_.varColumnCount > 0);
    checkRequired(after);

    std::vector<IndexChange> changes;
    for (std::size_t i = 0; i < table_.storedIndexes.size(); ++i) {
        tree(i);
        IndexChange change;
        change.index = i;
        change.newKey = checkedNewKey(
            i, indexKey(table_, table_.storedIndexes[i], {after, pages_, &longValues}),
            std::nullopt);
        changes.push_back(std::move(change));
    }

    std::uint32_t rowId =
        place(longValues.empty() ? sized : packWithLongValues(row, longValues, true), 0);
    addToRowCount(1);
    applyIndexChanges(changes, rowId);
    return rowId;
}

void TableWriter::remove(std::uint32_t rowId) {
    const JetFormat& format = pages_.format();
    StoredRow stored = findRow(pages_, tablePage_, rowId);
    std::vector<std::uint8_t> oldBytes(stored.bytes.begin(), stored.bytes.end());
    RowView before = crackRow(oldBytes, format, table_.varColumnCount > 0);
    std::vector<IndexChange> changes;
    for (std::size_t i = 0; i < table_.storedIndexes.size(); ++i) {
        const StoredIndex& index = table_.storedIndexes[i];
        tree(i);
        IndexChange change;
        change.index = i;
        std::optional<IndexKey> old = currentKey(table_, index, {before, pages_});
        change.hadEntry = !(old && index.ignoreNulls && old->allNull);
        if (old) {
            change.oldKey = old->bytes;
            change.oldEarlierKey = old->earlierForm;
        }
        changes.push_back(std::move(change));
    }

    std::uint32_t homePage = DataPage::pageOf(rowId);
    std::uint16_t homeSlot = DataPage::slotOf(rowId);
    DataPage view(pages_.page(homePage), format);
    if (view.isOverflowPointer(homeSlot)) {
        auto pointer = view.row(homeSlot);
        if (pointer.size() >= 4) {
            std::uint32_t image = get32(pointer.data());
            DataPage imageView(pages_.page(DataPage::pageOf(image)), format);
            if (DataPage::slotOf(image) < imageView.rowCount() && imageView.owner() == tablePage_) {
                DataPageEditor(pages_.pageForChange(DataPage::pageOf(image)), format)
                    .setFlags(DataPage::slotOf(image), deletedSlot);
                freeSpace_.gainedRoom(DataPage::pageOf(image));
            }
        }
    }
    DataPageEditor(pages_.pageForChange(homePage), format).setFlags(homeSlot, deletedSlot);
    freeSpace_.gainedRoom(homePage);
    addToRowCount(-1);
    for (const Column& column : table_.columns)
        if (column.isLongValue())
            if (auto reference = columnBytes(column, before))
                longValues_.release(column, *reference);
    applyIndexChanges(changes, rowId);
}

void TableWriter::addToRowCount(std::int32_t delta) {
    auto definition = pages_.pageForChange(tablePage_);
    std::uint8_t* count = definition.data() + pages_.format().tdefRowCountOffset;
    put32(count, static_cast<std::uint32_t>(static_cast<std::int64_t>(get32(count)) + delta));
}

std::uint32_t TableWriter::nextAutoNumber() {
    return get32(pages_.page(tablePage_).data() + pages_.format().tdefAutonumberOffset) + 1;
}

void TableWriter::noteAutoNumber(std::uint32_t given) {
    auto definition = pages_.pageForChange(tablePage_);
    std::uint8_t* last = definition.data() + pages_.format().tdefAutonumberOffset;
    if (static_cast<std::int32_t>(given) > static_cast<std::int32_t>(get32(last)))
        put32(last, given);
}

} // namespace mdbengine::file
