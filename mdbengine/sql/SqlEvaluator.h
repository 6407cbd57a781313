#pragma once

// The value of a bound expression for one row. Null goes through comparisons and
// arithmetic as Jet carries it: a comparison with Null is Null, AND and OR know their
// result when one side decides it, and a condition holds only when it is True. Texts
// compare as the table's index keys order them (trailing blanks left out) and without
// regard to case for every letter that has one, and LIKE matches a character by its key,
// so that a WHERE finds what a unique index calls the same; a text against a number
// compares as a number when it is one, else it is a type mismatch (SqlError 3464).
// Sums, differences, products and comparisons with a Decimal or Currency value go by the
// digits where the other side has them too (whole numbers, Currency, Decimal).

#include "mdbengine/sql/SqlExpression.h"
#include "mdbengine/tables/KeyOrder.h"
#include "mdbengine/values/Variant.h"

#include <cstddef>

namespace mdbengine::sql {

// The values of the row being looked at, by column place, and the order their texts
// compare in.
class RowValues {
public:
    explicit RowValues(file::TextOrder order) : order_(order) {}
    virtual ~RowValues() = default;
    virtual Variant column(std::size_t index) = 0;
    file::TextOrder textOrder() const { return order_; }

private:
    file::TextOrder order_;
};

Variant evaluate(const SqlExpression& expression, RowValues& row);
bool holds(const SqlExpression& condition, RowValues& row);

} // namespace mdbengine::sql
