#pragma once

// The value of a bound expression for one row. Null goes through comparisons and
// arithmetic as Jet carries it: a comparison with Null is Null, AND and OR know their
// result when one side decides it, and a condition holds only when it is True. Texts
// compare without regard to case; a text against a number compares as a number when it
// is one, else it is a type mismatch (SqlError 3464).

#include "platform/dao/Variant.h"
#include "platform/dao/sql/SqlExpression.h"

#include <cstddef>

namespace platform::dao::sql {

// The values of the row being looked at, by column place.
class RowValues {
public:
    virtual ~RowValues() = default;
    virtual Variant column(std::size_t index) = 0;
};

Variant evaluate(const SqlExpression& expression, RowValues& row);
bool holds(const SqlExpression& condition, RowValues& row);

} // namespace platform::dao::sql
