#include "accessdb/access/TDAOTabledef.h"

#include "accessdb/access/EngineText.h"

namespace accessdb {

using mdbengine::TableDef;

void TDAOTabledef::getName(std::string& name) {
    invoke(property(name, [](const TableDef& t) { return fromEngineText(t.name()); }));
}

void TDAOTabledef::setName(const std::string& name) {
    invoke([&](const TableDef& t) { return t.rename(toEngineText(name)); });
}

} // namespace accessdb
