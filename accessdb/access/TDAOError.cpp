#include "accessdb/access/TDAOError.h"

#include "accessdb/access/EngineText.h"

namespace accessdb {

std::int32_t TDAOError::number() {
    std::int32_t number = 0;
    invoke(property(number, [](const mdbengine::Error& e) { return e.number; }));
    return number;
}

std::string TDAOError::description() {
    std::string text;
    invoke(property(text, [](const mdbengine::Error& e) { return fromEngineText(e.description); }));
    return text;
}

} // namespace accessdb
