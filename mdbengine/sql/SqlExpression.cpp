#include "mdbengine/sql/SqlExpression.h"

namespace mdbengine::sql {

std::unique_ptr<SqlExpression> SqlExpression::literal(Variant value) {
    auto expression = std::make_unique<SqlExpression>();
    expression->value = std::move(value);
    return expression;
}

std::unique_ptr<SqlExpression>
SqlExpression::make(Kind kind, std::string op,
                    std::vector<std::unique_ptr<SqlExpression>> operands) {
    auto expression = std::make_unique<SqlExpression>();
    expression->kind = kind;
    expression->op = std::move(op);
    expression->operands = std::move(operands);
    return expression;
}

std::string SqlExpression::describe() const {
    if (kind == Kind::Name)
        return qualifier.empty() ? name : qualifier + "." + name;
    if (kind == Kind::Literal && value.isString())
        return "'" + value.stringValue() + "'";
    return "expression";
}

} // namespace mdbengine::sql
