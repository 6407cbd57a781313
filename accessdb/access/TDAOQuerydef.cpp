#include "accessdb/access/TDAOQuerydef.h"

#include "accessdb/access/EngineText.h"
#include "accessdb/access/TDAOFields.h"
#include "accessdb/access/TDAORecordset.h"

namespace accessdb {

namespace dao = mdbengine;
using dao::QueryDef;

void TDAOQuerydef::getName(std::string& name) {
    invoke(property(name, [](const QueryDef& q) { return fromEngineText(q.name()); }));
}

void TDAOQuerydef::setName(const std::string& name) {
    invoke([&](const QueryDef& q) { return q.rename(toEngineText(name)); });
}

std::unique_ptr<TDAOFields> TDAOQuerydef::getFields() {
    std::shared_ptr<dao::Collection<dao::Field>> fields;
    invoke([&](const QueryDef& q) { return q.fields(fields); });
    return std::make_unique<TDAOFields>(std::move(fields));
}

std::unique_ptr<TDAOParameters> TDAOQuerydef::parameters() {
    std::shared_ptr<dao::Collection<dao::Parameter>> parameters;
    invoke([&](const QueryDef& q) { return q.parameters(parameters); });
    return std::make_unique<TDAOParameters>(std::move(parameters));
}

std::unique_ptr<TDAORecordset> TDAOQuerydef::openRecordset(const std::string&, int type,
                                                           int options) {
    std::shared_ptr<dao::Recordset> recordset;
    invoke([&](const QueryDef& q) { return q.openRecordset(type, options, recordset); });
    return std::make_unique<TDAORecordset>(std::move(recordset));
}

std::int32_t TDAOQuerydef::execute() {
    std::int32_t affected = 0;
    invoke([&](const QueryDef& q) { return q.execute(affected); });
    return affected;
}

} // namespace accessdb
