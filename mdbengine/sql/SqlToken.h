#pragma once

#include "mdbengine/values/Variant.h"

#include <cstddef>
#include <string>

namespace mdbengine::sql {

// One word, literal or sign of a statement. Keywords are words; a name in brackets never is.
struct SqlToken {
    enum class Kind { Word, BracketName, Literal, Symbol, Parameter, End };

    Kind kind = Kind::End;
    std::string text;   // the word, the name, or the sign
    Variant value;      // literals
    std::size_t at = 0; // where it starts in the statement

    bool isWord(const char* word) const;
    bool isSymbol(const char* symbol) const { return kind == Kind::Symbol && text == symbol; }
    // A plain word or a name in brackets.
    bool isName() const { return kind == Kind::Word || kind == Kind::BracketName; }
};

} // namespace mdbengine::sql
