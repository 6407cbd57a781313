#pragma once

#include "mdbengine/values/Utf8.h"

#include <stdexcept>
#include <string>

namespace mdbengine::file {

// A text with a character the column cannot store: Jet3 keeps its text in Windows-1252.
class UnencodableText : public std::runtime_error {
public:
    UnencodableText(const std::string& column, char32_t character)
        : std::runtime_error("'" + column + "' cannot hold the character " +
                             describeCharacter(character) +
                             ": this database keeps its text in Windows-1252") {}
};

} // namespace mdbengine::file
