#pragma once

// A table opened for reading and changing its records, one at a time. The records are a
// list of row ids (page << 8 | slot) in the current index's order, or in the table's
// page and slot order while no index is set; an index is sorted in memory when it is set,
// and Seek searches it. A bookmark is a record's row id, four bytes.
//
// Changes: Edit or AddNew, values set through the fields (memo and long binary values also
// in chunks), Update; Delete. The page writer keeps every index of the table and the long
// values in step, and refuses a change an index forbids (3022 for a key a unique index
// holds, 3058 for a Null in a required key) before anything is written. A new record gets
// the next autonumber unless it was given one; a record's number is not changed. Updated
// rows keep their row ids and places.
//
// The result of a select over one table is such a recordset too: the rows the query chose,
// in its order, seen through the fields it names. It has no index to set or seek.

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/Errors.h"
#include "mdbengine/tables/KeyOrder.h"
#include "mdbengine/tables/RowCodec.h"
#include "mdbengine/tables/RowImage.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TableRows.h"
#include "mdbengine/tables/TableWriter.h"
#include "mdbengine/values/Variant.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace mdbengine {

class DatabaseFile;
class Field;
class Index;
class RelationshipRules;

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    // Options of the open.
    static constexpr int denyWrite = 0x1;
    static constexpr int denyRead = 0x2;
    static constexpr int readOnly = 0x4;
    static constexpr std::size_t maxSeekKeys = 13;

    Recordset(std::shared_ptr<DatabaseFile> file, std::shared_ptr<Errors> errors, std::string name,
              std::shared_ptr<const file::TableDefinition> table, std::vector<std::uint32_t> rows,
              bool readOnly);
    ~Recordset();

    const std::string& name() const { return name_; }

    // A field of a query result: the column it shows, under the name the query gives it.
    struct ResultField {
        std::size_t column = 0;
        std::string name;
    };
    // Makes the recordset the result of a query over its table, standing on its first row.
    void showQueryResult(std::string name, std::vector<std::uint32_t> rows,
                         std::vector<ResultField> fields);
    bool isQueryResult() const { return queryResult_; }
    // The row id of the current record, none off the records.
    std::optional<std::uint32_t> currentRowId() const;
    const std::shared_ptr<DatabaseFile>& file() const { return file_; }

    Status fields(std::shared_ptr<Collection<Field>>& fields);
    Status indexes(std::shared_ptr<Collection<Index>>& indexes);
    Status recordCount(std::int32_t& count);
    Status bof(bool& bof);
    Status eof(bool& eof);
    Status noMatch(bool& noMatch);
    // Whether records may be changed through it: false when it or its database was opened
    // read-only or the file may not be written.
    Status updatable(bool& updatable);

    Status moveFirst();
    Status moveLast();
    Status moveNext();
    Status movePrevious();

    Status addNew();
    Status edit();
    Status update();
    Status cancelUpdate();
    Status deleteRecord();
    Status close();

    Status bookmark(std::vector<std::uint8_t>& bookmark);
    Status setBookmark(std::span<const std::uint8_t> bookmark);
    Status lastModified(std::vector<std::uint8_t>& bookmark);

    // An index name found without regard to case; "" walks the table in page order again.
    Status setIndex(const std::string& name);
    const std::string& index() const { return indexName_; }
    // Comparison "=", ">=", ">", "<" or "<="; keys in index order, those after the first
    // missing one left out.
    Status seek(const std::string& comparison, std::span<const Variant> keys);

    Status absolutePosition(std::int32_t& position);
    Status setAbsolutePosition(std::int32_t position);

    // For the fields.
    const file::TableDefinition& table() const { return *table_; }
    bool jet4() const;
    // The order its texts compare and sort in, as its indexes key them.
    file::TextOrder textOrder() const;
    Status columnValue(std::size_t column, Variant& value);
    Status longValueLength(std::size_t column, std::int32_t& length);
    Status setColumnValue(std::size_t column, const Variant& value);
    Status appendChunk(std::size_t column, const Variant& chunk);
    Errors& errors() const { return *errors_; }

private:
    enum class Editing { None, Edit, AddNew };

    std::int64_t rowCount() const { return static_cast<std::int64_t>(rows_.size()); }
    bool hasCurrent() const { return current_ && position_ >= 0 && position_ < rowCount(); }
    // Open, and in step with the file (a rollback brings the rows back as they were).
    Status checkOpen();
    Status checkCurrent();
    Status moveTo(std::int64_t position);
    Status unreadable();
    const file::RowView& currentRow();
    std::vector<Variant> keyOf(std::uint32_t rowId, const file::IndexDefinition& index);
    int compareToKeys(std::uint32_t rowId, std::span<const Variant> keys);
    Status sortByIndex(const file::IndexDefinition* index);
    // The rows read again after a rollback: all of them, or those of a query result that
    // are still there.
    Status readRowsAgain();
    Status refuseForQueryResult();
    Status checkWritable();
    // Open and writable.
    Status checkChangeable();
    // Forgets an Edit or AddNew and the values set since.
    void endEditing() {
        editing_ = Editing::None;
        pending_.clear();
        chunked_.clear();
    }
    Status saveEdit();
    Status saveNew();
    // Sets the values given since Edit or AddNew; answers the long values among them.
    file::LongValues applyPending(file::RowImage& row);
    std::vector<std::uint32_t> numberNewRow(file::RowImage& row, file::TableWriter& writer);
    // The relationships of the file, read at the first change.
    RelationshipRules& relationships();
    // Writes a change of the current or a new record (from `before` to the values set since
    // Edit or AddNew) or its deletion (`deleting`), with the rows enforced relationships
    // carry along, all or nothing.
    void writeRelated(std::optional<std::uint32_t> rowId, bool deleting,
                      const std::function<void()>& write);
    // A deletion carried to rows of this table takes them out of its records.
    void forgetRows(const std::vector<std::uint32_t>& gone);
    // Runs a read or change of the file's rows; their failures become the engine's errors.
    template <typename Action>
    Status rowAccess(Action action);
    // Runs a change of the file's pages.
    template <typename Change>
    Status changing(Change change);

    std::shared_ptr<DatabaseFile> file_;
    std::shared_ptr<Errors> errors_;
    std::string name_;
    std::shared_ptr<const file::TableDefinition> table_;
    std::vector<std::uint32_t> rows_;
    bool readOnly_;
    bool closed_ = false;
    bool queryResult_ = false;
    std::vector<ResultField> resultFields_;

    std::int64_t position_ = 0;
    bool current_ = true;
    bool noMatch_ = false;
    Editing editing_ = Editing::None;
    std::map<std::size_t, Variant> pending_; // values set since Edit or AddNew, by column
    std::set<std::size_t> chunked_;          // columns given chunks since then
    std::optional<std::uint32_t> lastModified_;
    std::uint64_t rowsVersion_ = 0;

    const file::IndexDefinition* index_ = nullptr;
    std::string indexName_;
    std::unordered_map<std::uint32_t, std::int64_t> positions_; // built when a bookmark is set

    std::unique_ptr<RelationshipRules> relationships_;

    file::RowFinder finder_;
    std::uint32_t cachedRowId_ = 0;
    std::uint64_t cachedGeneration_ = 0;
    std::uint64_t cachedVersion_ = 0;
    bool cached_ = false;
    file::RowView cachedRow_;
};

} // namespace mdbengine
