#include "platform/dao/Database.h"

#include "platform/dao/DatabaseFile.h"
#include "platform/dao/QueryDef.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/TableDef.h"
#include "platform/dao/jet/FormatError.h"
#include "platform/dao/jet/Names.h"
#include "platform/dao/jet/TableRows.h"

namespace platform::dao {

namespace {

const char* const noSql = "This engine does not run SQL.";

// Statements start with one of these words; table names rarely do and never with a
// space after them.
bool looksLikeSql(const std::string& text) {
    static const char* const verbs[] = {"SELECT", "TRANSFORM", "PARAMETERS", "INSERT", "UPDATE",
                                        "DELETE", "CREATE",    "DROP",       "ALTER",  "WITH"};
    std::size_t start = text.find_first_not_of(" \t\r\n(");
    if (start == std::string::npos)
        return false;
    std::size_t end = text.find_first_of(" \t\r\n", start);
    if (end == std::string::npos)
        return false;
    std::string word = text.substr(start, end - start);
    for (const char* verb : verbs)
        if (jet::sameName(word, verb))
            return true;
    return false;
}

std::int32_t attributesOf(const jet::CatalogEntry& entry) {
    std::int32_t attributes = static_cast<std::int32_t>(entry.flags & 0x80000002u);
    if (entry.kind == jet::CatalogEntry::LinkedTable)
        attributes |= TableDef::attachedTable;
    if (entry.kind == jet::CatalogEntry::LinkedOdbcTable)
        attributes |= TableDef::attachedOdbc;
    return attributes;
}

} // namespace

Database::Database(std::shared_ptr<DatabaseFile> file, std::shared_ptr<Errors> errors)
    : file_(std::move(file)), errors_(std::move(errors)), name_(file_->path()) {}

Status Database::checkOpen() const {
    return file_ ? statusOk : errors_->fail(ErrorNumber::ObjectClosed);
}

Status Database::tableDefs(std::shared_ptr<Collection<TableDef>>& tables) const {
    tables.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    std::vector<std::shared_ptr<TableDef>> items;
    for (const jet::CatalogEntry& entry : file_->catalog().tables()) {
        std::string connect = entry.kind == jet::CatalogEntry::LinkedTable
                                  ? ";DATABASE=" + entry.linkedDatabase
                                  : std::string();
        items.push_back(std::make_shared<TableDef>(entry.name, attributesOf(entry), connect,
                                                   entry.foreignName, errors_));
    }
    tables = std::make_shared<Collection<TableDef>>(std::move(items), errors_);
    return statusOk;
}

Status Database::queryDefs(std::shared_ptr<Collection<QueryDef>>& queries) const {
    queries.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    std::vector<std::shared_ptr<QueryDef>> items;
    try {
        for (const jet::CatalogEntry& entry : file_->catalog().queries()) {
            std::vector<std::shared_ptr<Parameter>> parameters;
            for (const jet::QueryParameter& p : file_->catalog().parameters(file_->pages(), entry))
                parameters.push_back(std::make_shared<Parameter>(p.name, p.type));
            items.push_back(std::make_shared<QueryDef>(entry.name, std::move(parameters), errors_));
        }
    } catch (const jet::FormatError&) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, name_);
    }
    queries = std::make_shared<Collection<QueryDef>>(std::move(items), errors_);
    return statusOk;
}

Status Database::openRecordset(const std::string& source, int options,
                               std::shared_ptr<Recordset>& recordset) const {
    recordset.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    const jet::Catalog& catalog = file_->catalog();
    for (const jet::CatalogEntry& entry : catalog.tables()) {
        if (!jet::sameName(entry.name, source))
            continue;
        if (entry.isLinked())
            return errors_->fail(ErrorNumber::NotSupported, {},
                                 "'" + entry.name + "' is a linked table; it lives in '" +
                                     entry.linkedDatabase + "'.");
        bool readOnly =
            (options != -1 && (options & Recordset::readOnly) != 0) || file_->openedReadOnly();
        try {
            auto table = file_->tableDefinition(entry.tablePage());
            std::vector<std::uint32_t> rows = jet::liveRows(file_->pages(), *table);
            // A data page whose header is damaged drops out of the walk with its rows: the
            // table's own count tells, and a table read short is refused, never read so.
            if (rows.size() != table->rowCount)
                return errors_->fail(
                    ErrorNumber::UnrecognisedFormat, name_,
                    "Its table '" + entry.name + "' counts " + std::to_string(table->rowCount) +
                        " rows, but its pages hold " + std::to_string(rows.size()) + ".");
            recordset = std::make_shared<Recordset>(file_, errors_, entry.name, std::move(table),
                                                    std::move(rows), readOnly);
            return statusOk;
        } catch (const jet::FormatError&) {
            return errors_->fail(ErrorNumber::UnrecognisedFormat, name_);
        }
    }
    for (const jet::CatalogEntry& entry : catalog.queries())
        if (jet::sameName(entry.name, source))
            return errors_->fail(ErrorNumber::NotSupported, {}, noSql);
    if (looksLikeSql(source))
        return errors_->fail(ErrorNumber::NotSupported, {}, noSql);
    return errors_->fail(ErrorNumber::TableNotFound, source);
}

Status Database::execute(const std::string&) const {
    if (Status status = checkOpen(); failed(status))
        return status;
    return errors_->fail(ErrorNumber::NotSupported, {}, noSql);
}

Status Database::close() {
    if (!file_)
        return statusOk;
    Status status = file_->flush(*errors_);
    file_.reset();
    return status;
}

} // namespace platform::dao
