#include "accessdb/access/TDAOError.h"

namespace accessdb {

std::int32_t TDAOError::number() {
    std::int32_t number = 0;
    invoke(property(number, [](const mdbengine::Error& e) { return e.number; }));
    return number;
}

std::string TDAOError::description() {
    std::string text;
    // The words stay in the engine's UTF-8: a message is shown, never stored in a list, and
    // a character the code page lacks is named as itself rather than as "?".
    invoke(property(text, [](const mdbengine::Error& e) { return e.description; }));
    return text;
}

} // namespace accessdb
