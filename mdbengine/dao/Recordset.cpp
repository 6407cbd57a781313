#include "mdbengine/dao/Recordset.h"

#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/FieldValue.h"
#include "mdbengine/dao/Index.h"
#include "mdbengine/dao/RelationshipRules.h"
#include "mdbengine/dao/UpdateFault.h"
#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/tables/DamagedIndex.h"
#include "mdbengine/tables/DeletedRow.h"
#include "mdbengine/tables/IndexViolation.h"
#include "mdbengine/tables/KeyOrder.h"
#include "mdbengine/tables/LongValue.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/tables/RequiredValueMissing.h"
#include "mdbengine/tables/RowTooLarge.h"
#include "mdbengine/tables/TableRows.h"
#include "mdbengine/tables/UnencodableKey.h"
#include "mdbengine/tables/UnencodableText.h"
#include "mdbengine/values/Utf8.h"

#include <algorithm>
#include <random>

namespace mdbengine {

namespace {

enum class Comparison { Equal, AtLeast, Greater, Less, AtMost, Invalid };

Comparison parseComparison(const std::string& text) {
    if (text == "=")
        return Comparison::Equal;
    if (text == ">=")
        return Comparison::AtLeast;
    if (text == ">")
        return Comparison::Greater;
    if (text == "<")
        return Comparison::Less;
    if (text == "<=")
        return Comparison::AtMost;
    return Comparison::Invalid;
}

// Where a Seek lands among the records in key order, given the first record not below the
// keys (lower) and the first above them (upper); -1 for no match.
std::int64_t seekLanding(Comparison kind, std::int64_t lower, std::int64_t upper,
                         std::int64_t count) {
    switch (kind) {
    case Comparison::Equal:
        return lower < upper ? lower : -1;
    case Comparison::AtLeast:
        return lower < count ? lower : -1;
    case Comparison::Greater:
        return upper < count ? upper : -1;
    case Comparison::Less:
        return lower - 1;
    case Comparison::AtMost:
        return upper - 1;
    case Comparison::Invalid:
        break;
    }
    return -1;
}

std::vector<std::uint8_t> bookmarkOf(std::uint32_t rowId) {
    std::vector<std::uint8_t> bytes(4);
    file::put32(bytes.data(), rowId);
    return bytes;
}

} // namespace

Recordset::Recordset(std::shared_ptr<DatabaseFile> file, std::shared_ptr<Errors> errors,
                     std::string name, std::shared_ptr<const file::TableDefinition> table,
                     std::vector<std::uint32_t> rows, bool readOnly)
    : file_(std::move(file)), errors_(std::move(errors)), name_(std::move(name)),
      table_(std::move(table)), rows_(std::move(rows)), readOnly_(readOnly),
      current_(!rows_.empty()), rowsVersion_(file_->rowsVersion()),
      finder_(file_->pages(), table_->page, file::RowFinder::Reading::Walk) {}

Recordset::~Recordset() = default;

bool Recordset::jet4() const {
    return file_->pages().format().jet4;
}

file::TextOrder Recordset::textOrder() const {
    return file::textOrderOf(jet4());
}

Status Recordset::checkOpen() {
    if (closed_)
        return errors_->fail(ErrorNumber::ObjectClosed);
    if (rowsVersion_ == file_->rowsVersion())
        return statusOk;
    // The file went back to an earlier state: the rows are read again, from the first.
    rowsVersion_ = file_->rowsVersion();
    endEditing();
    lastModified_.reset();
    cached_ = false;
    if (Status status = readRowsAgain(); failed(status))
        return status;
    return moveTo(0);
}

Status Recordset::readRowsAgain() {
    std::vector<std::uint32_t> live;
    try {
        live = file::liveRows(file_->pages(), *table_);
    } catch (const file::FormatError&) {
        rows_.clear();
        return unreadable();
    }
    positions_.clear();
    if (!queryResult_) {
        rows_ = std::move(live);
        return sortByIndex(index_);
    }
    std::sort(live.begin(), live.end());
    std::erase_if(rows_, [&](std::uint32_t rowId) {
        return !std::binary_search(live.begin(), live.end(), rowId);
    });
    return statusOk;
}

void Recordset::showQueryResult(std::string name, std::vector<std::uint32_t> rows,
                                std::vector<ResultField> fields) {
    name_ = std::move(name);
    rows_ = std::move(rows);
    finder_.setReading(file::RowFinder::Reading::Kept);
    resultFields_ = std::move(fields);
    queryResult_ = true;
    index_ = nullptr;
    indexName_.clear();
    positions_.clear();
    moveTo(0);
}

std::optional<std::uint32_t> Recordset::currentRowId() const {
    if (!hasCurrent())
        return std::nullopt;
    return rows_[static_cast<std::size_t>(position_)];
}

// Indexes belong to tables; a query result answers as the engine does for such objects.
Status Recordset::refuseForQueryResult() {
    return errors_->fail(ErrorNumber::NotSupported, {},
                         "A query result has no indexes; open the table to use them.");
}

Status Recordset::checkCurrent() {
    if (Status status = checkOpen(); failed(status))
        return status;
    return hasCurrent() ? statusOk : errors_->fail(ErrorNumber::NoCurrentRecord);
}

Status Recordset::unreadable() {
    return errors_->fail(ErrorNumber::UnrecognisedFormat, file_->path());
}

template <typename Action>
Status Recordset::rowAccess(Action action) {
    try {
        action();
        return statusOk;
    } catch (const file::DeletedRow&) {
        return errors_->fail(ErrorNumber::RecordDeleted);
    } catch (const file::RowTooLarge&) {
        return errors_->fail(ErrorNumber::RecordTooLarge);
    } catch (const file::IndexViolation& e) {
        return errors_->fail(e.kind() == file::IndexViolation::Kind::Duplicate
                                 ? ErrorNumber::DuplicateKey
                                 : ErrorNumber::NullInKey,
                             e.index());
    } catch (const file::RequiredValueMissing& e) {
        return errors_->fail(ErrorNumber::RequiredValueMissing, e.column());
    } catch (const file::UnencodableKey& e) {
        return errors_->fail(ErrorNumber::NotSupported, {}, std::string(e.what()) + ".");
    } catch (const file::UnencodableText& e) {
        return errors_->fail(ErrorNumber::ConversionError, {}, std::string(e.what()) + ".");
    } catch (const RelationshipViolation& e) {
        return errors_->fail(e.number, e.table, e.detail);
    } catch (const file::DamagedIndex& e) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, file_->path(),
                             "The index '" + e.index() + "' is damaged (" + e.problem() +
                                 "); nothing was changed.");
    } catch (const file::FormatError&) {
        return unreadable();
    }
}

template <typename Change>
Status Recordset::changing(Change change) {
    return rowAccess([&] {
        change(file_->writer(*table_));
        cached_ = false;
    });
}

Status Recordset::fields(std::shared_ptr<Collection<Field>>& fields) {
    fields.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    std::vector<std::shared_ptr<Field>> items;
    if (queryResult_)
        for (const ResultField& field : resultFields_)
            items.push_back(std::make_shared<Field>(shared_from_this(), field.column, field.name));
    else
        for (std::size_t i = 0; i < table_->columns.size(); ++i)
            items.push_back(std::make_shared<Field>(shared_from_this(), i));
    fields = std::make_shared<Collection<Field>>(std::move(items), errors_);
    return statusOk;
}

Status Recordset::indexes(std::shared_ptr<Collection<Index>>& indexes) {
    indexes.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    if (queryResult_)
        return refuseForQueryResult();
    std::vector<std::shared_ptr<Index>> items;
    for (const file::IndexDefinition& definition : table_->indexes) {
        std::vector<std::shared_ptr<IndexField>> keys;
        for (const file::IndexColumn& key : definition.columns) {
            const file::Column* column = table_->columnByNumber(key.columnNumber);
            keys.push_back(std::make_shared<IndexField>(column ? column->name : std::string(),
                                                        key.descending));
        }
        items.push_back(std::make_shared<Index>(definition.name, definition.primary,
                                                definition.unique, definition.foreign,
                                                std::move(keys), errors_));
    }
    indexes = std::make_shared<Collection<Index>>(std::move(items), errors_);
    return statusOk;
}

Status Recordset::recordCount(std::int32_t& count) {
    count = 0;
    if (Status status = checkOpen(); failed(status))
        return status;
    count = static_cast<std::int32_t>(rows_.size());
    return statusOk;
}

Status Recordset::bof(bool& bof) {
    bof = true;
    if (Status status = checkOpen(); failed(status))
        return status;
    bof = rows_.empty() || position_ < 0;
    return statusOk;
}

Status Recordset::eof(bool& eof) {
    eof = true;
    if (Status status = checkOpen(); failed(status))
        return status;
    eof = rows_.empty() || position_ >= rowCount();
    return statusOk;
}

Status Recordset::updatable(bool& updatable) {
    updatable = false;
    if (Status status = checkOpen(); failed(status))
        return status;
    updatable = !readOnly_ && file_->fileWritable();
    return statusOk;
}

Status Recordset::noMatch(bool& noMatch) {
    Status status = checkOpen();
    noMatch = noMatch_;
    return status;
}

Status Recordset::moveTo(std::int64_t position) {
    endEditing();
    position_ = position;
    current_ = position >= 0 && position < rowCount();
    return statusOk;
}

Status Recordset::moveFirst() {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (rows_.empty())
        return errors_->fail(ErrorNumber::NoCurrentRecord);
    return moveTo(0);
}

Status Recordset::moveLast() {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (rows_.empty())
        return errors_->fail(ErrorNumber::NoCurrentRecord);
    return moveTo(rowCount() - 1);
}

// Between records (after a Delete or a failed Seek) the position names the record that
// comes next.
Status Recordset::moveNext() {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (rows_.empty() || position_ >= rowCount())
        return errors_->fail(ErrorNumber::NoCurrentRecord);
    return moveTo(current_ ? position_ + 1 : position_);
}

Status Recordset::movePrevious() {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (rows_.empty() || position_ < 0)
        return errors_->fail(ErrorNumber::NoCurrentRecord);
    return moveTo(position_ - 1);
}

Status Recordset::checkWritable() {
    if (readOnly_)
        return errors_->fail(ErrorNumber::ReadOnly);
    return file_->checkChangesAllowed(*errors_);
}

Status Recordset::checkChangeable() {
    if (Status status = checkOpen(); failed(status))
        return status;
    return checkWritable();
}

Status Recordset::addNew() {
    if (Status status = checkChangeable(); failed(status))
        return status;
    endEditing();
    editing_ = Editing::AddNew;
    return statusOk;
}

Status Recordset::edit() {
    if (Status status = checkChangeable(); failed(status))
        return status;
    if (Status status = checkCurrent(); failed(status))
        return status;
    if (Status status = rowAccess([&] { currentRow(); }); failed(status))
        return status;
    endEditing();
    editing_ = Editing::Edit;
    return statusOk;
}

file::LongValues Recordset::applyPending(file::RowImage& row) {
    file::LongValues longValues;
    for (const auto& [index, value] : pending_) {
        const file::Column& column = table_->columns[index];
        if (column.isLongValue()) {
            std::optional<std::string> stored;
            if (!value.isNull()) {
                std::vector<std::uint8_t> bytes = file::encodeValue(column, value, jet4());
                stored.emplace(bytes.begin(), bytes.end());
            }
            longValues.emplace(column.number, std::move(stored));
        } else {
            file::putValue(row, column, value, jet4());
        }
    }
    return longValues;
}

Status Recordset::saveEdit() {
    std::uint32_t rowId = rows_[static_cast<std::size_t>(position_)];
    if (pending_.empty()) {
        lastModified_ = rowId;
        return statusOk;
    }
    Status status = changing([&](file::TableWriter& writer) {
        file::RowImage row(currentRow());
        file::LongValues longValues = applyPending(row);
        writeRelated(rowId, false, [&] { writer.update(rowId, std::move(row), longValues); });
    });
    if (!failed(status))
        lastModified_ = rowId;
    return status;
}

namespace {

// A new record's replication ID: random, marked as such (version 4, variant 1).
std::string newGuid() {
    static std::mt19937_64 generator{std::random_device{}()};
    std::string guid(16, '\0');
    for (std::size_t i = 0; i < guid.size(); i += 8) {
        std::uint64_t bits = generator();
        for (std::size_t k = 0; k < 8; ++k)
            guid[i + k] = static_cast<char>(bits >> (8 * k));
    }
    guid[7] = static_cast<char>((guid[7] & 0x0F) | 0x40);
    guid[8] = static_cast<char>((guid[8] & 0x3F) | 0x80);
    return guid;
}

} // namespace

// Columns the engine numbers get the next number, unless the record was given one; the
// numbers to count as given once the record is in.
std::vector<std::uint32_t> Recordset::numberNewRow(file::RowImage& row, file::TableWriter& writer) {
    std::vector<std::uint32_t> numbers;
    for (std::size_t i = 0; i < table_->columns.size(); ++i) {
        const file::Column& column = table_->columns[i];
        if (!column.isAutoNumber())
            continue;
        if (column.type == file::ColumnType::Guid) {
            std::string guid = newGuid();
            row.setValue(
                column, std::span(reinterpret_cast<const std::uint8_t*>(guid.data()), guid.size()));
            continue;
        }
        auto given = pending_.find(i);
        if (given != pending_.end() && !given->second.isNull()) {
            numbers.push_back(static_cast<std::uint32_t>(given->second.integerValue()));
            continue;
        }
        std::uint32_t number = writer.nextAutoNumber();
        row.setValue(column,
                     file::encodeValue(
                         column, Variant::longInteger(static_cast<std::int32_t>(number)), jet4()));
        numbers.push_back(number);
    }
    return numbers;
}

Status Recordset::saveNew() {
    std::uint32_t rowId = 0;
    Status status = changing([&](file::TableWriter& writer) {
        writeRelated(std::nullopt, false, [&] {
            file::RowImage row = file::RowImage::blank(*table_);
            file::LongValues longValues = applyPending(row);
            std::vector<std::uint32_t> numbers = numberNewRow(row, writer);
            rowId = writer.insert(std::move(row), longValues);
            for (std::uint32_t number : numbers)
                writer.noteAutoNumber(number);
        });
    });
    if (failed(status))
        return status;
    rows_.push_back(rowId);
    positions_.clear();
    lastModified_ = rowId;
    return statusOk;
}

namespace {

int updatesBeforeFault = 0;

// True for the Update a test arranged to fail.
bool arrangedFault() {
    return updatesBeforeFault > 0 && --updatesBeforeFault == 0;
}

} // namespace

void failUpdateAfterForTesting(int updates) {
    updatesBeforeFault = updates > 0 ? updates : 0;
}

RelationshipRules& Recordset::relationships() {
    if (!relationships_)
        relationships_ = std::make_unique<RelationshipRules>(*file_);
    return *relationships_;
}

void Recordset::writeRelated(std::optional<std::uint32_t> rowId, bool deleting,
                             const std::function<void()>& write) {
    RelationshipRules& rules = relationships();
    if (!rules.concerns(*table_)) {
        write();
        return;
    }
    std::optional<RelationshipRules::Values> before;
    if (rowId)
        before = rules.valuesOf(*table_, *rowId);
    std::optional<RelationshipRules::Values> after;
    if (!deleting) {
        after = before ? *before : RelationshipRules::Values(table_->columns.size());
        for (const auto& [index, value] : pending_)
            if (!table_->columns[index].isLongValue())
                (*after)[index] = value;
    }
    std::vector<RelationshipRules::Consequence> carried =
        rules.consequences(*table_, rowId, before ? &*before : nullptr, after ? &*after : nullptr);
    if (carried.empty()) {
        write();
        return;
    }
    file_->beginTransaction();
    try {
        rules.apply(carried);
        write();
    } catch (...) {
        file_->rollbackTransaction();
        throw;
    }
    file_->commitTransaction();
    std::vector<std::uint32_t> gone;
    for (const RelationshipRules::Consequence& consequence : carried)
        if (consequence.deleted && consequence.table->page == table_->page)
            gone.push_back(consequence.rowId);
    forgetRows(gone);
}

void Recordset::forgetRows(const std::vector<std::uint32_t>& gone) {
    for (std::uint32_t rowId : gone) {
        auto at = std::find(rows_.begin(), rows_.end(), rowId);
        if (at == rows_.end())
            continue;
        if (at - rows_.begin() < position_)
            --position_;
        rows_.erase(at);
        positions_.clear();
    }
}

// A failed Update leaves the record being edited, as the engine does, so that it can be
// put right or cancelled.
Status Recordset::update() {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (editing_ == Editing::None)
        return errors_->fail(ErrorNumber::UpdateWithoutEdit);
    if (Status status = checkWritable(); failed(status))
        return status;
    if (editing_ == Editing::Edit && !hasCurrent())
        return errors_->fail(ErrorNumber::NoCurrentRecord);
    if (arrangedFault())
        return errors_->fail(ErrorNumber::WriteFailed, file_->path());
    Status status = editing_ == Editing::Edit ? saveEdit() : saveNew();
    if (failed(status))
        return status;
    endEditing();
    return statusOk;
}

Status Recordset::cancelUpdate() {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (editing_ == Editing::None)
        return errors_->fail(ErrorNumber::UpdateWithoutEdit);
    endEditing();
    return statusOk;
}

Status Recordset::deleteRecord() {
    if (Status status = checkChangeable(); failed(status))
        return status;
    if (Status status = checkCurrent(); failed(status))
        return status;
    std::uint32_t rowId = rows_[static_cast<std::size_t>(position_)];
    if (Status status = changing([&](file::TableWriter& writer) {
            writeRelated(rowId, true, [&] { writer.remove(rowId); });
        });
        failed(status))
        return status;
    // Rows of this table the deletion carried along may have gone before it.
    auto at = std::find(rows_.begin(), rows_.end(), rowId);
    position_ = at - rows_.begin();
    rows_.erase(at);
    positions_.clear();
    endEditing();
    current_ = false; // between records: MoveNext goes to the one after
    return statusOk;
}

Status Recordset::close() {
    if (closed_)
        return statusOk;
    closed_ = true;
    endEditing();
    cached_ = false;
    return file_->flush(*errors_);
}

Status Recordset::bookmark(std::vector<std::uint8_t>& bookmark) {
    bookmark.clear();
    if (Status status = checkCurrent(); failed(status))
        return status;
    bookmark = bookmarkOf(rows_[static_cast<std::size_t>(position_)]);
    return statusOk;
}

Status Recordset::setBookmark(std::span<const std::uint8_t> bookmark) {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (bookmark.size() < 4)
        return errors_->fail(ErrorNumber::InvalidBookmark);
    if (positions_.size() != rows_.size()) {
        positions_.clear();
        for (std::size_t i = 0; i < rows_.size(); ++i)
            positions_.emplace(rows_[i], static_cast<std::int64_t>(i));
    }
    auto found = positions_.find(file::get32(bookmark.data()));
    if (found == positions_.end())
        return errors_->fail(ErrorNumber::InvalidBookmark);
    return moveTo(found->second);
}

Status Recordset::lastModified(std::vector<std::uint8_t>& bookmark) {
    bookmark.clear();
    if (Status status = checkOpen(); failed(status))
        return status;
    if (!lastModified_)
        return errors_->fail(ErrorNumber::NoCurrentRecord);
    bookmark = bookmarkOf(*lastModified_);
    return statusOk;
}

std::vector<Variant> Recordset::keyOf(std::uint32_t rowId, const file::IndexDefinition& index) {
    file::PageStore& pages = file_->pages();
    file::StoredRow stored = finder_.find(rowId);
    file::RowView row = file::crackRow(stored.bytes, pages.format(), table_->varColumnCount > 0);
    std::vector<Variant> key;
    key.reserve(index.columns.size());
    for (const file::IndexColumn& part : index.columns) {
        const file::Column* column = table_->columnByNumber(part.columnNumber);
        key.push_back(column ? file::readColumnValue(*column, row, pages) : Variant::null());
    }
    return key;
}

// Rows in page order are read through the finder's walk; in an index's order they are
// wanted again and again, and are kept.
Status Recordset::sortByIndex(const file::IndexDefinition* index) {
    if (index == nullptr) {
        std::sort(rows_.begin(), rows_.end());
        finder_.setReading(file::RowFinder::Reading::Walk);
        return statusOk;
    }
    std::vector<std::pair<std::vector<Variant>, std::uint32_t>> keyed;
    keyed.reserve(rows_.size());
    // Texts are keyed once, not at every comparison.
    file::TextOrder texts = textOrder();
    Status status = rowAccess([&] {
        for (std::uint32_t rowId : rows_) {
            std::vector<Variant> key = keyOf(rowId, *index);
            for (Variant& value : key)
                value = file::sortingForm(value, texts);
            keyed.emplace_back(std::move(key), rowId);
        }
    });
    if (failed(status))
        return status;
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        for (std::size_t k = 0; k < index->columns.size(); ++k) {
            int order = file::compareKeyValues(a.first[k], b.first[k], texts);
            if (order != 0)
                return index->columns[k].descending ? order > 0 : order < 0;
        }
        return a.second < b.second;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        rows_[i] = keyed[i].second;
    finder_.setReading(file::RowFinder::Reading::Kept);
    return statusOk;
}

Status Recordset::setIndex(const std::string& name) {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (queryResult_)
        return refuseForQueryResult();
    const file::IndexDefinition* chosen = nullptr;
    for (const file::IndexDefinition& index : table_->indexes)
        if (file::sameName(index.name, name))
            chosen = &index;
    if (chosen == nullptr && !name.empty())
        return errors_->fail(ErrorNumber::NotAnIndex, name);
    if (Status status = sortByIndex(chosen); failed(status))
        return status;
    index_ = chosen;
    indexName_ = chosen ? chosen->name : std::string();
    positions_.clear();
    noMatch_ = false;
    return moveTo(0);
}

int Recordset::compareToKeys(std::uint32_t rowId, std::span<const Variant> keys) {
    std::vector<Variant> key = keyOf(rowId, *index_);
    for (std::size_t k = 0; k < keys.size(); ++k) {
        int order = file::compareKeyValues(key[k], keys[k], textOrder());
        if (order != 0)
            return index_->columns[k].descending ? -order : order;
    }
    return 0;
}

Status Recordset::seek(const std::string& comparison, std::span<const Variant> keys) {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (queryResult_)
        return refuseForQueryResult();
    if (index_ == nullptr)
        return errors_->fail(ErrorNumber::NoCurrentIndex);
    Comparison kind = parseComparison(comparison);
    std::size_t given = 0;
    while (given < keys.size() && !keys[given].isMissing())
        ++given;
    if (kind == Comparison::Invalid || given == 0 || given > index_->columns.size() ||
        given > maxSeekKeys)
        return errors_->fail(ErrorNumber::InvalidArgument);
    keys = keys.first(given);
    endEditing();

    std::int64_t found = -1;
    Status status = rowAccess([&] {
        auto below = [&](std::uint32_t rowId, int) { return compareToKeys(rowId, keys) < 0; };
        auto atMost = [&](int, std::uint32_t rowId) { return compareToKeys(rowId, keys) > 0; };
        auto lower = std::lower_bound(rows_.begin(), rows_.end(), 0, below) - rows_.begin();
        auto upper = std::upper_bound(rows_.begin(), rows_.end(), 0, atMost) - rows_.begin();
        found = seekLanding(kind, lower, upper, rowCount());
    });
    if (failed(status))
        return status;
    noMatch_ = found < 0;
    if (noMatch_) {
        current_ = false;
        return statusOk;
    }
    return moveTo(found);
}

Status Recordset::absolutePosition(std::int32_t& position) {
    position = -1;
    if (Status status = checkOpen(); failed(status))
        return status;
    if (hasCurrent())
        position = static_cast<std::int32_t>(position_);
    return statusOk;
}

Status Recordset::setAbsolutePosition(std::int32_t position) {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (position < 0 || position >= rowCount())
        return errors_->fail(ErrorNumber::InvalidArgument);
    return moveTo(position);
}

const file::RowView& Recordset::currentRow() {
    std::uint32_t rowId = rows_[static_cast<std::size_t>(position_)];
    std::uint64_t generation = file_->pages().generation();
    if (!cached_ || cachedRowId_ != rowId || cachedGeneration_ != generation ||
        cachedVersion_ != finder_.version()) {
        cached_ = false;
        file::PageStore& pages = file_->pages();
        file::StoredRow stored = finder_.find(rowId);
        file::crackRow(stored.bytes, pages.format(), table_->varColumnCount > 0, cachedRow_);
        cachedRowId_ = rowId;
        cachedGeneration_ = generation;
        cachedVersion_ = finder_.version();
        cached_ = true;
    }
    return cachedRow_;
}

Status Recordset::columnValue(std::size_t column, Variant& value) {
    value = Variant::null();
    if (Status status = checkOpen(); failed(status))
        return status;
    if (column >= table_->columns.size())
        return errors_->fail(ErrorNumber::ItemNotFound);
    if (auto set = pending_.find(column); set != pending_.end()) {
        value = set->second;
        return statusOk;
    }
    if (editing_ == Editing::AddNew) {
        if (table_->columns[column].type == file::ColumnType::Boolean)
            value = Variant::boolean(false);
        return statusOk;
    }
    if (Status status = checkCurrent(); failed(status))
        return status;
    return rowAccess([&] {
        value = file::readColumnValue(table_->columns[column], currentRow(), file_->pages());
    });
}

Status Recordset::longValueLength(std::size_t column, std::int32_t& length) {
    length = 0;
    Variant value;
    if (Status status = columnValue(column, value); failed(status))
        return status;
    if (value.isString())
        length = static_cast<std::int32_t>(characterCount(value.stringValue()));
    else if (!value.isNull())
        length = static_cast<std::int32_t>(value.stringValue().size());
    return statusOk;
}

Status Recordset::setColumnValue(std::size_t column, const Variant& value) {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (column >= table_->columns.size())
        return errors_->fail(ErrorNumber::ItemNotFound);
    if (editing_ == Editing::None)
        return errors_->fail(ErrorNumber::UpdateWithoutEdit);
    const file::Column& target = table_->columns[column];
    std::string why;
    bool numbered = target.isAutoNumber();
    Variant converted;
    if (!columnWritable(target, &why) &&
        !(numbered && target.type == file::ColumnType::Long && editing_ == Editing::AddNew)) {
        // Giving a numbered column the value it has changes nothing.
        Variant current;
        if (editing_ == Editing::Edit &&
            !failed(convertForColumn(target, value, jet4(), *errors_, converted)) &&
            !failed(columnValue(column, current)) && current == converted)
            return statusOk;
        if (numbered)
            return errors_->fail(ErrorNumber::FieldNotUpdatable, target.name,
                                 "The engine numbers it.");
        return errors_->fail(ErrorNumber::NotSupported, {}, why);
    }
    if (Status status = convertForColumn(target, value, jet4(), *errors_, converted);
        failed(status))
        return status;
    chunked_.erase(column);
    pending_[column] = std::move(converted);
    return statusOk;
}

// The first chunk after Edit or AddNew replaces the value; the next ones add to it.
Status Recordset::appendChunk(std::size_t column, const Variant& chunk) {
    if (Status status = checkOpen(); failed(status))
        return status;
    if (column >= table_->columns.size())
        return errors_->fail(ErrorNumber::ItemNotFound);
    const file::Column& target = table_->columns[column];
    if (!target.isLongValue())
        return errors_->fail(ErrorNumber::NotSupported, {},
                             "Only memo and long binary fields take chunks.");
    if (editing_ == Editing::None)
        return errors_->fail(ErrorNumber::UpdateWithoutEdit);
    if (chunk.type() != Variant::Type::Bytes && chunk.type() != Variant::Type::Text)
        return errors_->fail(ErrorNumber::ConversionError);
    std::string contents;
    auto pending = pending_.find(column);
    if (chunked_.count(column) && pending != pending_.end() && !pending->second.isNull())
        contents = pending->second.stringValue();
    contents += chunk.stringValue();
    chunked_.insert(column);
    pending_[column] = target.type == file::ColumnType::Memo ? Variant::text(std::move(contents))
                                                             : Variant::bytes(std::move(contents));
    return statusOk;
}

} // namespace mdbengine
