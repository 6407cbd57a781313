#include "mdbengine/dao/Database.h"

#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/LinkChain.h"
#include "mdbengine/dao/QueryDef.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/dao/SqlRunner.h"
#include "mdbengine/dao/TableDef.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/sql/SqlParser.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/tables/TableRows.h"

namespace mdbengine {

namespace {

std::int32_t attributesOf(const file::CatalogEntry& entry) {
    std::int32_t attributes = static_cast<std::int32_t>(entry.flags & 0x80000002u);
    if (entry.kind == file::CatalogEntry::LinkedTable)
        attributes |= TableDef::attachedTable;
    if (entry.kind == file::CatalogEntry::LinkedOdbcTable)
        attributes |= TableDef::attachedOdbc;
    return attributes;
}

const file::CatalogEntry* findEntry(const std::vector<file::CatalogEntry>& entries,
                                    const std::string& name) {
    for (const file::CatalogEntry& entry : entries)
        if (file::sameName(entry.name, name))
            return &entry;
    return nullptr;
}

} // namespace

Database::Database(std::shared_ptr<DatabaseFile> file, std::shared_ptr<Errors> errors)
    : file_(std::move(file)), errors_(std::move(errors)), name_(file_->path()) {}

Status Database::checkOpen() const {
    return file_ ? statusOk : errors_->fail(ErrorNumber::ObjectClosed);
}

bool Database::readOnlyOptions(int options) const {
    return (options != -1 && (options & Recordset::readOnly) != 0) || file_->openedReadOnly();
}

Status Database::tableDefs(std::shared_ptr<Collection<TableDef>>& tables) const {
    tables.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    std::vector<std::shared_ptr<TableDef>> items;
    for (const file::CatalogEntry& entry : file_->catalog().tables()) {
        std::string connect = entry.kind == file::CatalogEntry::LinkedTable
                                  ? ";DATABASE=" + entry.linkedDatabase
                                  : std::string();
        items.push_back(std::make_shared<TableDef>(entry.name, attributesOf(entry), connect,
                                                   entry.foreignName, errors_));
    }
    tables = std::make_shared<Collection<TableDef>>(std::move(items), errors_);
    return statusOk;
}

std::shared_ptr<QueryDef> Database::queryDef(const file::CatalogEntry& entry) const {
    std::vector<std::shared_ptr<Parameter>> parameters;
    for (const file::QueryParameter& p : file_->catalog().parameters(file_->pages(), entry))
        parameters.push_back(std::make_shared<Parameter>(p.name, p.type));
    return std::make_shared<QueryDef>(entry, std::move(parameters), file_, errors_);
}

Status Database::queryDefs(std::shared_ptr<Collection<QueryDef>>& queries) const {
    queries.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    std::vector<std::shared_ptr<QueryDef>> items;
    try {
        for (const file::CatalogEntry& entry : file_->catalog().queries())
            items.push_back(queryDef(entry));
    } catch (const file::FormatError&) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, name_);
    }
    queries = std::make_shared<Collection<QueryDef>>(std::move(items), errors_);
    return statusOk;
}

Status Database::storedQuery(const std::string& name, std::shared_ptr<QueryDef>& query) const {
    query.reset();
    const file::CatalogEntry* entry = findEntry(file_->catalog().queries(), name);
    if (!entry)
        return statusOk;
    try {
        query = queryDef(*entry);
        return statusOk;
    } catch (const file::FormatError&) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, name_);
    }
}

Status Database::openTable(const std::string& name, bool readOnly,
                           std::shared_ptr<Recordset>& recordset) const {
    recordset.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    TableHome home;
    if (Status status = findTableHome(file_, name, *errors_, home); failed(status))
        return status;
    return openLocalTable(home, readOnly, recordset);
}

Status Database::tableHome(const std::string& name, std::string& path, std::string& table) const {
    if (Status status = checkOpen(); failed(status))
        return status;
    TableHome home;
    if (Status status = findTableHome(file_, name, *errors_, home); failed(status))
        return status;
    path = home.file->path();
    table = home.entry->name;
    return statusOk;
}

Status Database::openLocalTable(const TableHome& home, bool readOnly,
                                std::shared_ptr<Recordset>& recordset) const {
    DatabaseFile& file = *home.file;
    const file::CatalogEntry& entry = *home.entry;
    readOnly = readOnly || file.openedReadOnly();
    try {
        auto table = file.tableDefinition(entry.tablePage());
        std::vector<std::uint32_t> rows = file::liveRows(file.pages(), *table);
        // A data page whose header is damaged drops out of the walk with its rows: the
        // table's own count tells, and a table read short is refused, never read so.
        if (std::uint32_t counted = file::countedRows(file.pages(), *table); rows.size() != counted)
            return errors_->fail(ErrorNumber::UnrecognisedFormat, file.path(),
                                 "Its table '" + entry.name + "' counts " +
                                     std::to_string(counted) + " rows, but its pages hold " +
                                     std::to_string(rows.size()) + ".");
        recordset = std::make_shared<Recordset>(home.file, errors_, entry.name, std::move(table),
                                                std::move(rows), readOnly);
        return statusOk;
    } catch (const file::FormatError&) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, file.path());
    }
}

Status Database::openRecordset(const std::string& source, int options,
                               std::shared_ptr<Recordset>& recordset) const {
    recordset.reset();
    if (Status status = checkOpen(); failed(status))
        return status;
    if (findEntry(file_->catalog().tables(), source))
        return openTable(source, readOnlyOptions(options), recordset);
    std::shared_ptr<QueryDef> query;
    if (Status status = storedQuery(source, query); failed(status))
        return status;
    if (query)
        return query->openRecordset(-1, options, recordset);
    if (sql::looksLikeStatement(source))
        return SqlRunner(*this, *errors_).open(source, readOnlyOptions(options), recordset);
    return errors_->fail(ErrorNumber::TableNotFound, source);
}

Status Database::execute(const std::string& query) {
    recordsAffected_ = 0;
    if (Status status = checkOpen(); failed(status))
        return status;
    std::shared_ptr<QueryDef> stored;
    if (Status status = storedQuery(query, stored); failed(status))
        return status;
    if (stored)
        return stored->execute(recordsAffected_);
    return SqlRunner(*this, *errors_).execute(query, recordsAffected_);
}

Status Database::close() {
    if (!file_)
        return statusOk;
    Status status = file_->flush(*errors_);
    file_.reset();
    return status;
}

} // namespace mdbengine
