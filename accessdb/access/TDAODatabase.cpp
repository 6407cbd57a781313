#include "accessdb/access/TDAODatabase.h"

#include "accessdb/access/EngineText.h"
#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/TableDef.h"

#include <optional>

namespace accessdb {

namespace dao = mdbengine;
using dao::Database;

void TDAODatabase::getName(std::string& name) {
    invoke(property(name, [](const Database& d) { return d.name(); }));
}

std::unique_ptr<TDAOTabledefs> TDAODatabase::tableDefs() {
    std::shared_ptr<dao::Collection<dao::TableDef>> tables;
    invoke([&](const Database& d) { return d.tableDefs(tables); });
    return std::make_unique<TDAOTabledefs>(std::move(tables));
}

std::unique_ptr<TDAOQuerydefs> TDAODatabase::queryDefs() {
    std::shared_ptr<dao::Collection<dao::QueryDef>> queries;
    invoke([&](const Database& d) { return d.queryDefs(queries); });
    return std::make_unique<TDAOQuerydefs>(std::move(queries));
}

void TDAODatabase::close() {
    if (object_)
        invoke([](Database& d) { return d.close(); });
}

void TDAODatabase::execute(const std::string& query) {
    invoke([&](Database& d) { return d.execute(toEngineText(query)); });
}

namespace {

// The engine's name of a table whose name the native character set could not show whole
// (its characters read "?"): the table listed under that name is opened by it.
std::string engineSource(const Database& database, const std::string& source) {
    std::string converted = toEngineText(source);
    std::shared_ptr<dao::Collection<dao::TableDef>> tables;
    if (source.find('?') == std::string::npos || dao::failed(database.tableDefs(tables)))
        return converted;
    std::optional<std::string> shown;
    for (std::size_t i = 0; i < tables->count(); ++i) {
        std::shared_ptr<dao::TableDef> table;
        tables->item(i, table);
        if (table->name() == converted)
            return converted;
        if (!shown && fromEngineText(table->name()) == source)
            shown = table->name();
    }
    return shown.value_or(converted);
}

} // namespace

std::unique_ptr<TDAORecordset> TDAODatabase::openRecordset(const std::string& source, int,
                                                           int options) {
    std::shared_ptr<dao::Recordset> recordset;
    invoke([&](const Database& d) {
        return d.openRecordset(engineSource(d, source), options, recordset);
    });
    return std::make_unique<TDAORecordset>(std::move(recordset));
}

} // namespace accessdb
