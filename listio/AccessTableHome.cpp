#include "listio/AccessTableHome.h"

#include "accessdb/access/EngineText.h"
#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/TableDef.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/tables/Relationships.h"

#include <memory>
#include <vector>

namespace quillan {

namespace dao = mdbengine;

namespace {

std::shared_ptr<dao::Database> openToRead(dao::DBEngine& engine, const std::string& path) {
    std::shared_ptr<dao::Database> database;
    if (dao::failed(engine.openDatabase(path, false, true, {}, database)))
        return nullptr;
    return database;
}

} // namespace

TableHome homeOf(const std::string& list, const std::string& table) {
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> database = openToRead(engine, list);
    std::shared_ptr<dao::Collection<dao::TableDef>> tables;
    if (!database || dao::failed(database->tableDefs(tables)))
        return {list, table};
    for (std::size_t i = 0; i < tables->count(); ++i) {
        std::shared_ptr<dao::TableDef> entry;
        tables->item(i, entry);
        if (accessdb::fromEngineText(entry->name()) != table || !entry->isLinked())
            continue;
        TableHome home;
        if (dao::failed(database->tableHome(entry->name(), home.path, home.table)))
            break;
        home.table = accessdb::fromEngineText(home.table);
        return home;
    }
    return {list, table};
}

std::map<std::string, std::string> fieldsTiedByRelationships(const TableHome& home) {
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> database = openToRead(engine, home.path);
    if (!database)
        return {};
    std::vector<dao::file::Relationship> relationships;
    try {
        std::shared_ptr<dao::DatabaseFile> file = database->file();
        relationships = dao::file::readRelationships(file->pages(), file->catalog());
    } catch (const dao::file::FormatError&) {
        return {};
    }
    std::map<std::string, std::string> tied;
    for (const dao::file::Relationship& relationship : relationships) {
        if (!relationship.enforced())
            continue;
        const std::string named = "\"" + accessdb::fromEngineText(relationship.name) +
                                  "\" between the tables \"" +
                                  accessdb::fromEngineText(relationship.referencedTable) +
                                  "\" and \"" + accessdb::fromEngineText(relationship.table) + "\"";
        auto tie = [&](const std::string& table, const std::vector<std::string>& columns) {
            if (!dao::file::sameName(accessdb::fromEngineText(table), home.table))
                return;
            for (const std::string& column : columns)
                tied.emplace(accessdb::fromEngineText(column), named);
        };
        tie(relationship.table, relationship.columns);
        tie(relationship.referencedTable, relationship.referencedColumns);
    }
    return tied;
}

} // namespace quillan
