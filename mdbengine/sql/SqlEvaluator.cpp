#include "mdbengine/sql/SqlEvaluator.h"

#include "mdbengine/sql/LikePattern.h"
#include "mdbengine/sql/SqlError.h"
#include "mdbengine/tables/KeyOrder.h"
#include "mdbengine/values/DecimalNumber.h"
#include "mdbengine/values/VariantText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

namespace mdbengine::sql {

namespace {

using Kind = SqlExpression::Kind;

[[noreturn]] void mismatch() {
    throw SqlError(ErrorNumber::TypeMismatch, {});
}

bool isIntegral(const Variant& v) {
    switch (v.type()) {
    case Variant::Type::Boolean:
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return true;
    default:
        return false;
    }
}

std::optional<double> numberInText(const std::string& text) {
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return std::nullopt;
    std::size_t end = text.find_last_not_of(' ');
    std::string trimmed = text.substr(start, end - start + 1);
    char* stop = nullptr;
    double value = std::strtod(trimmed.c_str(), &stop);
    if (stop != trimmed.c_str() + trimmed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A value taken as a number, as arithmetic and a comparison with a number take it.
double numberOf(const Variant& value) {
    if (value.isNumeric())
        return value.toDouble();
    if (value.isString())
        if (std::optional<double> number = numberInText(value.stringValue()))
            return *number;
    mismatch();
}

// Null when either side is Null; otherwise -1, 0 or 1.
std::optional<int> compare(const Variant& a, const Variant& b, file::TextOrder order) {
    if (a.isNull() || a.isEmpty() || b.isNull() || b.isEmpty())
        return std::nullopt;
    if (a.isNumeric() != b.isNumeric()) {
        const Variant& text = a.isNumeric() ? b : a;
        if (!text.isString() || !numberInText(text.stringValue()))
            mismatch();
        double x = numberOf(a);
        double y = numberOf(b);
        return x < y ? -1 : (x > y);
    }
    return file::compareKeyValues(file::caselessForm(a), file::caselessForm(b), order);
}

std::optional<bool> truthOf(const Variant& value) {
    if (value.isNull() || value.isEmpty())
        return std::nullopt;
    return numberOf(value) != 0;
}

Variant fromTruth(std::optional<bool> truth) {
    return truth ? Variant::boolean(*truth) : Variant::null();
}

bool comparisonHolds(const std::string& op, int order) {
    if (op == "=")
        return order == 0;
    if (op == "<>")
        return order != 0;
    if (op == "<")
        return order < 0;
    if (op == "<=")
        return order <= 0;
    if (op == ">")
        return order > 0;
    return order >= 0;
}

bool keepsDigits(const Variant& v) {
    return v.type() == Variant::Type::Decimal || v.type() == Variant::Type::Currency;
}

// A sum, difference or product with a Decimal or Currency value, of whole numbers, Currency
// and Decimal values, by their digits (Currency when no Decimal takes part and the result
// has its places); none when a double has to do.
std::optional<Variant> exactArithmetic(const std::string& op, const Variant& a, const Variant& b) {
    if (op == "/" || !(keepsDigits(a) || keepsDigits(b)))
        return std::nullopt;
    std::optional<DecimalNumber> x = DecimalNumber::of(a);
    std::optional<DecimalNumber> y = DecimalNumber::of(b);
    if (!x || !y)
        return std::nullopt;
    std::optional<DecimalNumber> result =
        op == "*" ? DecimalNumber::product(*x, *y)
                  : DecimalNumber::sum(*x, op == "-" ? y->negated() : *y);
    if (!result)
        return std::nullopt;
    bool decimal = a.type() == Variant::Type::Decimal || b.type() == Variant::Type::Decimal;
    if (!decimal)
        if (std::optional<std::int64_t> units = result->tenThousandths())
            return Variant::currency(*units);
    return Variant::decimal(result->text());
}

Variant arithmetic(const std::string& op, const Variant& a, const Variant& b) {
    if (a.isNull() || a.isEmpty() || b.isNull() || b.isEmpty())
        return Variant::null();
    if (op == "+" && a.isString() && b.isString())
        return Variant::text(a.stringValue() + b.stringValue());
    if (std::optional<Variant> exact = exactArithmetic(op, a, b))
        return *exact;
    double x = numberOf(a);
    double y = numberOf(b);
    if (op == "/") {
        if (y == 0)
            throw SqlError(ErrorNumber::InvalidOperation, {}, "Division by zero.");
        return Variant::real(x / y);
    }
    double result = op == "+" ? x + y : (op == "-" ? x - y : x * y);
    bool dates = a.type() == Variant::Type::Date || b.type() == Variant::Type::Date;
    if (dates && op != "*" && !(op == "-" && a.type() == b.type()))
        return Variant::date(result);
    if (isIntegral(a) && isIntegral(b) && result >= std::numeric_limits<std::int32_t>::min() &&
        result <= std::numeric_limits<std::int32_t>::max())
        return Variant::longInteger(static_cast<std::int32_t>(result));
    return Variant::real(result);
}

Variant concatenation(const Variant& a, const Variant& b) {
    bool aNull = a.isNull() || a.isEmpty();
    bool bNull = b.isNull() || b.isEmpty();
    if (aNull && bNull)
        return Variant::null();
    return Variant::text(textOf(a) + textOf(b));
}

Variant like(const Variant& value, const Variant& pattern, file::TextOrder order) {
    if (value.isNull() || value.isEmpty() || pattern.isNull() || pattern.isEmpty())
        return Variant::null();
    return Variant::boolean(
        likeMatches(textOf(file::caselessForm(value)), textOf(file::caselessForm(pattern)), order));
}

Variant inList(const SqlExpression& expression, RowValues& row) {
    Variant value = evaluate(*expression.operands[0], row);
    bool unknown = false;
    for (std::size_t i = 1; i < expression.operands.size(); ++i) {
        std::optional<int> order =
            compare(value, evaluate(*expression.operands[i], row), row.textOrder());
        if (!order)
            unknown = true;
        else if (*order == 0)
            return Variant::boolean(true);
    }
    return unknown ? Variant::null() : Variant::boolean(false);
}

Variant between(const SqlExpression& expression, RowValues& row) {
    Variant value = evaluate(*expression.operands[0], row);
    std::optional<int> low =
        compare(value, evaluate(*expression.operands[1], row), row.textOrder());
    std::optional<int> high =
        compare(value, evaluate(*expression.operands[2], row), row.textOrder());
    std::optional<bool> aboveLow = low ? std::optional<bool>(*low >= 0) : std::nullopt;
    std::optional<bool> belowHigh = high ? std::optional<bool>(*high <= 0) : std::nullopt;
    if (aboveLow == false || belowHigh == false)
        return Variant::boolean(false);
    return aboveLow && belowHigh ? Variant::boolean(true) : Variant::null();
}

Variant logical(const SqlExpression& expression, RowValues& row) {
    bool isAnd = expression.kind == Kind::And;
    std::optional<bool> left = truthOf(evaluate(*expression.operands[0], row));
    // The side that decides alone: False for AND, True for OR.
    if (left == !isAnd)
        return Variant::boolean(!isAnd);
    std::optional<bool> right = truthOf(evaluate(*expression.operands[1], row));
    if (right == !isAnd)
        return Variant::boolean(!isAnd);
    return left && right ? Variant::boolean(isAnd) : Variant::null();
}

Variant negatedIf(bool negated, Variant result) {
    if (!negated || result.isNull())
        return result;
    return Variant::boolean(!result.booleanValue());
}

} // namespace

Variant evaluate(const SqlExpression& expression, RowValues& row) {
    const auto& operands = expression.operands;
    switch (expression.kind) {
    case Kind::Literal:
        return expression.value;
    case Kind::Name:
        return expression.column ? row.column(*expression.column) : expression.value;
    case Kind::Not: {
        std::optional<bool> truth = truthOf(evaluate(*operands[0], row));
        return fromTruth(truth ? std::optional<bool>(!*truth) : std::nullopt);
    }
    case Kind::Negate: {
        Variant value = evaluate(*operands[0], row);
        return value.isNull() ? value : arithmetic("-", Variant::longInteger(0), value);
    }
    case Kind::And:
    case Kind::Or:
        return logical(expression, row);
    case Kind::Compare: {
        std::optional<int> order =
            compare(evaluate(*operands[0], row), evaluate(*operands[1], row), row.textOrder());
        return order ? Variant::boolean(comparisonHolds(expression.op, *order)) : Variant::null();
    }
    case Kind::Arithmetic:
        return arithmetic(expression.op, evaluate(*operands[0], row), evaluate(*operands[1], row));
    case Kind::Concat:
        return concatenation(evaluate(*operands[0], row), evaluate(*operands[1], row));
    case Kind::Like:
        return negatedIf(expression.negated, like(evaluate(*operands[0], row),
                                                  evaluate(*operands[1], row), row.textOrder()));
    case Kind::IsNull: {
        Variant value = evaluate(*operands[0], row);
        return Variant::boolean((value.isNull() || value.isEmpty()) != expression.negated);
    }
    case Kind::In:
        return negatedIf(expression.negated, inList(expression, row));
    case Kind::Between:
        return negatedIf(expression.negated, between(expression, row));
    }
    return Variant::null();
}

bool holds(const SqlExpression& condition, RowValues& row) {
    return truthOf(evaluate(condition, row)).value_or(false);
}

} // namespace mdbengine::sql
