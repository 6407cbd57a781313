#include "accessdb/access/TDAOIndexField.h"

#include "accessdb/access/EngineText.h"

namespace accessdb {

using mdbengine::IndexField;

void TDAOIndexField::getName(std::string& name) {
    invoke(property(name, [](const IndexField& f) { return fromEngineText(f.name()); }));
}

std::int32_t TDAOIndexField::attributes() {
    std::int32_t attributes = 0;
    invoke(property(attributes, [](const IndexField& f) { return f.attributes(); }));
    return attributes;
}

} // namespace accessdb
