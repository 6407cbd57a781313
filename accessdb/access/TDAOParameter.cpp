#include "accessdb/access/TDAOParameter.h"

#include "accessdb/access/EngineText.h"

namespace accessdb {

using mdbengine::Parameter;

void TDAOParameter::getName(std::string& name) {
    invoke(property(name, [](const Parameter& p) { return fromEngineText(p.name()); }));
}

std::int16_t TDAOParameter::type() {
    std::int16_t type = 0;
    invoke(property(type, [](const Parameter& p) { return p.type(); }));
    return type;
}

void TDAOParameter::setValue(const Variant& value) {
    invoke([&](Parameter& p) {
        p.setValue(toEngineValue(value));
        return mdbengine::statusOk;
    });
}

} // namespace accessdb
