#pragma once

// An expression of a statement as a tree. Names are bound once before a statement runs:
// to a column of its table, or to a parameter's value; a name that is neither is a
// parameter still wanted.

#include "mdbengine/values/Variant.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mdbengine::sql {

struct SqlExpression {
    enum class Kind {
        Literal,
        Name,       // a column or a parameter, by name; `?` is an unnamed parameter
        Not,        // operand
        Negate,     // operand
        And,        // two operands
        Or,         // two operands
        Compare,    // two operands, `op` one of = <> < <= > >=
        Arithmetic, // two operands, `op` one of + - * /
        Concat,     // two operands (&)
        Like,       // value, pattern
        IsNull,     // operand
        In,         // value, then the list
        Between,    // value, low, high
    };

    Kind kind = Kind::Literal;
    std::string op;
    bool negated = false;  // NOT LIKE, IS NOT NULL, NOT IN, NOT BETWEEN
    Variant value;         // a literal, or a bound parameter's value
    std::string qualifier; // the table before the dot of a name
    std::string name;
    std::optional<std::size_t> column; // a bound name: the column's place in the table
    std::vector<std::unique_ptr<SqlExpression>> operands;

    static std::unique_ptr<SqlExpression> literal(Variant value);
    static std::unique_ptr<SqlExpression>
    make(Kind kind, std::string op, std::vector<std::unique_ptr<SqlExpression>> operands);

    // How it reads in a message: the name, or the literal's text.
    std::string describe() const;
};

} // namespace mdbengine::sql
