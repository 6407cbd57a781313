#include "accessdb/access/TDAODatabase.h"

#include "accessdb/access/EngineText.h"

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

std::unique_ptr<TDAORecordset> TDAODatabase::openRecordset(const std::string& source, int,
                                                           int options) {
    std::shared_ptr<dao::Recordset> recordset;
    invoke([&](const Database& d) {
        return d.openRecordset(toEngineText(source), options, recordset);
    });
    return std::make_unique<TDAORecordset>(std::move(recordset));
}

} // namespace accessdb
