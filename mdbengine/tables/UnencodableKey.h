#pragma once

#include "mdbengine/values/Utf8.h"

#include <stdexcept>
#include <string>

namespace mdbengine::file {

// A value whose place in an index's order is not known here: a Jet4 text character outside
// the first 256 code points and Windows-1252, or a column type whose keys are not written
// (binary, decimal).
class UnencodableKey : public std::runtime_error {
public:
    explicit UnencodableKey(const std::string& column)
        : std::runtime_error("'" + column +
                             "' holds a value whose place in the index is not "
                             "known here") {}
    UnencodableKey(const std::string& column, char32_t character)
        : std::runtime_error("'" + column + "' holds the character " +
                             describeCharacter(character) +
                             ", whose place in an index is not known here") {}
};

} // namespace mdbengine::file
