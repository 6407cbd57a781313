#include "accessdb/access/TDAOIndex.h"

#include "accessdb/access/EngineText.h"

namespace accessdb {

using mdbengine::Index;

void TDAOIndex::getName(std::string& name) {
    invoke(property(name, [](const Index& i) { return fromEngineText(i.name()); }));
}

void TDAOIndex::setName(const std::string& name) {
    invoke([&](const Index& i) { return i.rename(toEngineText(name)); });
}

bool TDAOIndex::unique() {
    bool unique = false;
    invoke(property(unique, [](const Index& i) { return i.unique(); }));
    return unique;
}

bool TDAOIndex::primary() {
    bool primary = false;
    invoke(property(primary, [](const Index& i) { return i.primary(); }));
    return primary;
}

std::unique_ptr<TDAOIndexfields> TDAOIndex::fields() {
    std::shared_ptr<mdbengine::Collection<mdbengine::IndexField>> fields;
    invoke([&](const Index& i) { return i.fields(fields); });
    return std::make_unique<TDAOIndexfields>(std::move(fields));
}

} // namespace accessdb
