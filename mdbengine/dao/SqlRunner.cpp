#include "mdbengine/dao/SqlRunner.h"

#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/sql/SqlError.h"
#include "mdbengine/sql/SqlEvaluator.h"
#include "mdbengine/sql/SqlParser.h"
#include "mdbengine/tables/KeyOrder.h"
#include "mdbengine/tables/Names.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <set>

namespace mdbengine {

using sql::Assignment;
using sql::evaluate;
using sql::OrderItem;
using sql::parseStatement;
using sql::RowValues;
using sql::SelectItem;
using sql::SqlError;
using sql::SqlExpression;
using sql::SqlSelect;
using sql::SqlStatement;

namespace {

using Kind = SqlExpression::Kind;

// A recordset call failed; its error is already in the engine's Errors.
struct RecordsetFailure {
    Status status;
};

void check(Status status) {
    if (failed(status))
        throw RecordsetFailure{status};
}

std::string upperName(std::string text) {
    for (char& c : text)
        c = file::upperAscii(c);
    return text;
}

// Binds the names of a statement to the columns of its table, or to parameters.
class TableScope {
public:
    TableScope(const file::TableDefinition* table, std::string name, std::string alias,
               const ParameterValues& parameters)
        : table_(table), name_(std::move(name)), alias_(std::move(alias)), parameters_(parameters) {
    }

    bool names(const std::string& qualifier) const {
        return qualifier.empty() || file::sameName(qualifier, name_) ||
               (!alias_.empty() && file::sameName(qualifier, alias_));
    }

    std::optional<std::size_t> columnOf(const std::string& qualifier,
                                        const std::string& name) const {
        if (!table_ || !names(qualifier))
            return std::nullopt;
        for (std::size_t i = 0; i < table_->columns.size(); ++i)
            if (file::sameName(table_->columns[i].name, name))
                return i;
        return std::nullopt;
    }

    void bind(SqlExpression& expression) {
        for (auto& operand : expression.operands)
            bind(*operand);
        if (expression.kind != Kind::Name || expression.column)
            return;
        if (expression.name == "?") {
            ++unnamed_;
            return;
        }
        if ((expression.column = columnOf(expression.qualifier, expression.name)))
            return;
        std::string full = expression.describe();
        for (const auto& [name, value] : parameters_)
            if (file::sameName(name, full) || file::sameName(name, expression.name)) {
                expression.value = value;
                return;
            }
        wanted_.insert(upperName(full));
    }

    // Every name found a column or a value.
    void requireParameters() const {
        std::size_t missing = wanted_.size() + unnamed_;
        if (missing > 0)
            throw SqlError(ErrorNumber::TooFewParameters, std::to_string(missing));
    }

    const file::TableDefinition& table() const { return *table_; }

private:
    const file::TableDefinition* table_;
    std::string name_;
    std::string alias_;
    const ParameterValues& parameters_;
    std::set<std::string> wanted_;
    std::size_t unnamed_ = 0;
};

// The current record of a recordset; each column read once.
class CurrentRecord : public RowValues {
public:
    explicit CurrentRecord(Recordset& recordset, std::size_t columns)
        : RowValues(recordset.textOrder()), recordset_(recordset), values_(columns) {}

    Variant column(std::size_t index) override {
        if (!values_[index]) {
            Variant value;
            check(recordset_.columnValue(index, value));
            values_[index] = std::move(value);
        }
        return *values_[index];
    }
    void forget() { std::fill(values_.begin(), values_.end(), std::nullopt); }

private:
    Recordset& recordset_;
    std::vector<std::optional<Variant>> values_;
};

// Values with no record behind them (INSERT ... VALUES): their names are parameters.
class NoRecord : public RowValues {
public:
    explicit NoRecord(file::TextOrder order) : RowValues(order) {}
    Variant column(std::size_t) override { return Variant::null(); }
};

// An output column of a select: the name it is shown under and its expression.
struct OutputColumn {
    std::string name;
    std::unique_ptr<SqlExpression> expression;
};

std::unique_ptr<SqlExpression> columnExpression(const file::TableDefinition& table,
                                                std::size_t index) {
    auto expression = SqlExpression::make(Kind::Name, {}, {});
    expression->name = table.columns[index].name;
    expression->column = index;
    return expression;
}

std::vector<OutputColumn> outputColumns(SqlSelect& select, TableScope& scope) {
    std::vector<OutputColumn> output;
    for (SelectItem& item : select.items) {
        if (!item.expression) {
            if (!item.starTable.empty() && !scope.names(item.starTable))
                throw SqlError(ErrorNumber::TableNotFound, item.starTable);
            for (std::size_t i = 0; i < scope.table().columns.size(); ++i)
                output.push_back(
                    {scope.table().columns[i].name, columnExpression(scope.table(), i)});
            continue;
        }
        scope.bind(*item.expression);
        std::string name = item.alias;
        if (name.empty())
            name = item.expression->kind == Kind::Name
                       ? item.expression->name
                       : "Expr" + std::to_string(1000 + output.size());
        output.push_back({std::move(name), std::move(item.expression)});
    }
    return output;
}

// ORDER BY may name an output column by the name the select gives it.
void bindOrder(SqlSelect& select, const std::vector<OutputColumn>& output, TableScope& scope) {
    for (OrderItem& item : select.orderBy) {
        SqlExpression& expression = *item.expression;
        if (expression.kind == Kind::Name && expression.qualifier.empty() &&
            !scope.columnOf({}, expression.name))
            for (const OutputColumn& column : output)
                if (file::sameName(column.name, expression.name) && column.expression->column) {
                    expression.column = column.expression->column;
                    break;
                }
        scope.bind(expression);
    }
}

// A record a select chose: its row, its values and the keys it is ordered by (texts by the
// bytes of their keys).
struct Chosen {
    std::uint32_t rowId = 0;
    std::vector<Variant> values;
    std::vector<Variant> keys;
};

// Values in their sorting forms, which compare without regard to the order they came in.
int compareRows(const std::vector<Variant>& a, const std::vector<Variant>& b,
                const std::vector<OrderItem>* order) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        // No text is left in them: either order compares them alike.
        int result = file::compareKeyValues(a[i], b[i], file::TextOrder::Jet4);
        if (result != 0)
            return order && (*order)[i].descending ? -result : result;
    }
    return 0;
}

std::vector<Variant> sortingForms(const std::vector<Variant>& values, file::TextOrder order) {
    std::vector<Variant> forms;
    forms.reserve(values.size());
    for (const Variant& value : values)
        forms.push_back(file::sortingForm(file::caselessForm(value), order));
    return forms;
}

// Walks a table's records in order; `visit` decides where the walk goes on (it moves on or
// deletes the record).
template <typename Visit>
void walk(Recordset& recordset, Visit visit) {
    bool atEnd = false;
    for (check(recordset.eof(atEnd)); !atEnd; check(recordset.eof(atEnd)))
        visit();
}

// The records a select chooses, with their values, without duplicates when it says
// DISTINCT, in its order.
std::vector<Chosen> choose(Recordset& recordset, const SqlSelect& select,
                           const std::vector<OutputColumn>& output) {
    std::vector<Chosen> chosen;
    CurrentRecord record(recordset, recordset.table().columns.size());
    walk(recordset, [&] {
        record.forget();
        if (!select.where || holds(*select.where, record)) {
            Chosen row;
            row.rowId = *recordset.currentRowId();
            for (const OutputColumn& column : output)
                row.values.push_back(evaluate(*column.expression, record));
            for (const OrderItem& item : select.orderBy)
                row.keys.push_back(file::sortingForm(
                    file::caselessForm(evaluate(*item.expression, record)), record.textOrder()));
            chosen.push_back(std::move(row));
        }
        check(recordset.moveNext());
    });
    if (select.distinct) {
        // Duplicates are found by sorting on the values, as the engine does, so that the
        // result without an order of its own comes in the order of its columns; texts the
        // keys call equal are one.
        std::vector<std::pair<std::vector<Variant>, std::size_t>> forms;
        for (std::size_t i = 0; i < chosen.size(); ++i)
            forms.emplace_back(sortingForms(chosen[i].values, record.textOrder()), i);
        std::stable_sort(forms.begin(), forms.end(), [](const auto& a, const auto& b) {
            return compareRows(a.first, b.first, nullptr) < 0;
        });
        std::vector<Chosen> distinct;
        for (std::size_t i = 0; i < forms.size(); ++i)
            if (i == 0 || compareRows(forms[i - 1].first, forms[i].first, nullptr) != 0)
                distinct.push_back(std::move(chosen[forms[i].second]));
        chosen = std::move(distinct);
    }
    if (!select.orderBy.empty())
        std::stable_sort(chosen.begin(), chosen.end(), [&](const Chosen& a, const Chosen& b) {
            return compareRows(a.keys, b.keys, &select.orderBy) < 0;
        });
    return chosen;
}

// The statement's changes are kept or dropped together.
class StatementChanges {
public:
    explicit StatementChanges(DatabaseFile& file) : file_(file) { file_.beginTransaction(); }
    ~StatementChanges() {
        if (!kept_)
            file_.rollbackTransaction();
    }
    StatementChanges(const StatementChanges&) = delete;
    StatementChanges& operator=(const StatementChanges&) = delete;
    void keep() {
        file_.commitTransaction();
        kept_ = true;
    }

private:
    DatabaseFile& file_;
    bool kept_ = false;
};

std::size_t targetColumn(const TableScope& scope, const std::string& qualifier,
                         const std::string& name) {
    if (std::optional<std::size_t> column = scope.columnOf(qualifier, name))
        return *column;
    throw SqlError(ErrorNumber::ItemNotFound, {},
                   "The table has no field '" + name + "' to write into.");
}

class Runner {
public:
    Runner(const Database& database, const ParameterValues& parameters)
        : database_(database), parameters_(parameters) {}

    std::shared_ptr<Recordset> table(const std::string& name, bool readOnly) {
        std::shared_ptr<Recordset> recordset;
        check(database_.openTable(name, readOnly, recordset));
        return recordset;
    }

    std::shared_ptr<Recordset> select(SqlSelect& select, bool readOnly,
                                      const std::string& statement) {
        std::shared_ptr<Recordset> recordset = table(select.table, readOnly || select.distinct);
        TableScope scope(&recordset->table(), select.table, select.alias, parameters_);
        std::vector<OutputColumn> output = outputColumns(select, scope);
        bindWhere(select, scope);
        bindOrder(select, output, scope);
        scope.requireParameters();
        std::vector<Recordset::ResultField> fields;
        for (const OutputColumn& column : output) {
            if (!column.expression->column)
                throw SqlError(ErrorNumber::NotSupported, {},
                               "A select here shows columns of its table; '" + column.name +
                                   "' is computed.");
            fields.push_back({*column.expression->column, column.name});
        }
        std::vector<std::uint32_t> rows;
        for (const Chosen& row : choose(*recordset, select, output))
            rows.push_back(row.rowId);
        recordset->showQueryResult(statement, std::move(rows), std::move(fields));
        return recordset;
    }

    std::int32_t update(SqlStatement& statement) {
        SqlSelect& select = statement.select;
        std::shared_ptr<Recordset> recordset = table(select.table, false);
        TableScope scope(&recordset->table(), select.table, select.alias, parameters_);
        std::vector<std::size_t> targets;
        for (Assignment& assignment : statement.assignments) {
            targets.push_back(targetColumn(scope, {}, assignment.column));
            scope.bind(*assignment.value);
        }
        bindWhere(select, scope);
        scope.requireParameters();
        std::int32_t count = 0;
        CurrentRecord record(*recordset, recordset->table().columns.size());
        StatementChanges changes(*recordset->file());
        walk(*recordset, [&] {
            record.forget();
            if (!select.where || holds(*select.where, record)) {
                std::vector<Variant> values;
                for (const Assignment& assignment : statement.assignments)
                    values.push_back(evaluate(*assignment.value, record));
                check(recordset->edit());
                for (std::size_t i = 0; i < targets.size(); ++i)
                    check(recordset->setColumnValue(targets[i], values[i]));
                check(recordset->update());
                ++count;
            }
            check(recordset->moveNext());
        });
        changes.keep();
        check(recordset->close());
        return count;
    }

    std::int32_t remove(SqlStatement& statement) {
        SqlSelect& select = statement.select;
        std::shared_ptr<Recordset> recordset = table(select.table, false);
        TableScope scope(&recordset->table(), select.table, select.alias, parameters_);
        bindWhere(select, scope);
        scope.requireParameters();
        std::int32_t count = 0;
        CurrentRecord record(*recordset, recordset->table().columns.size());
        StatementChanges changes(*recordset->file());
        walk(*recordset, [&] {
            record.forget();
            if (!select.where || holds(*select.where, record)) {
                // The recordset stands between records; the next one is a move away.
                check(recordset->deleteRecord());
                ++count;
                bool atEnd = false;
                check(recordset->eof(atEnd));
                if (!atEnd)
                    check(recordset->moveNext());
                return;
            }
            check(recordset->moveNext());
        });
        changes.keep();
        check(recordset->close());
        return count;
    }

    std::int32_t insert(SqlStatement& statement) {
        std::shared_ptr<Recordset> target = table(statement.target, false);
        TableScope targetScope(&target->table(), statement.target, {}, parameters_);
        std::vector<std::string> names;
        std::vector<std::vector<Variant>> rows = statement.fromSelect
                                                     ? selectedValues(statement.select, names)
                                                     : listedValues(statement, target->textOrder());
        std::vector<std::size_t> columns;
        for (const std::string& name : statement.columns)
            columns.push_back(targetColumn(targetScope, {}, name));
        if (statement.columns.empty() && statement.fromSelect)
            for (const std::string& name : names)
                columns.push_back(targetColumn(targetScope, {}, name));
        if (statement.columns.empty() && !statement.fromSelect) {
            columns.resize(target->table().columns.size());
            std::iota(columns.begin(), columns.end(), std::size_t{0});
        }
        std::size_t given = statement.fromSelect ? names.size() : statement.values.size();
        if (given != columns.size())
            throw SqlError(ErrorNumber::ValuesCountMismatch, {});
        StatementChanges changes(*target->file());
        for (const std::vector<Variant>& row : rows) {
            check(target->addNew());
            for (std::size_t i = 0; i < columns.size(); ++i)
                check(target->setColumnValue(columns[i], row[i]));
            check(target->update());
        }
        changes.keep();
        check(target->close());
        return static_cast<std::int32_t>(rows.size());
    }

private:
    void bindWhere(SqlSelect& select, TableScope& scope) {
        if (select.where)
            scope.bind(*select.where);
    }

    std::vector<std::vector<Variant>> listedValues(SqlStatement& statement, file::TextOrder order) {
        TableScope scope(nullptr, {}, {}, parameters_);
        for (auto& value : statement.values)
            scope.bind(*value);
        scope.requireParameters();
        NoRecord none(order);
        std::vector<Variant> row;
        for (const auto& value : statement.values)
            row.push_back(evaluate(*value, none));
        return {row};
    }

    std::vector<std::vector<Variant>> selectedValues(SqlSelect& select,
                                                     std::vector<std::string>& names) {
        std::shared_ptr<Recordset> source = table(select.table, true);
        TableScope scope(&source->table(), select.table, select.alias, parameters_);
        std::vector<OutputColumn> output = outputColumns(select, scope);
        bindWhere(select, scope);
        bindOrder(select, output, scope);
        scope.requireParameters();
        for (const OutputColumn& column : output)
            names.push_back(column.name);
        std::vector<std::vector<Variant>> rows;
        for (Chosen& row : choose(*source, select, output))
            rows.push_back(std::move(row.values));
        return rows;
    }

    const Database& database_;
    const ParameterValues& parameters_;
};

template <typename Work>
Status guarded(Errors& errors, Work work) {
    try {
        return work();
    } catch (const SqlError& error) {
        return errors.fail(error.number(), error.subject(), error.detail());
    } catch (const RecordsetFailure& failure) {
        return failure.status;
    }
}

} // namespace

Status SqlRunner::open(const std::string& text, bool readOnly, std::shared_ptr<Recordset>& result) {
    result.reset();
    return guarded(errors_, [&] {
        SqlStatement statement = parseStatement(text);
        if (statement.kind != SqlStatement::Kind::Select)
            throw SqlError(ErrorNumber::InvalidOperation, {},
                           "An action query gives no records; run it with Execute.");
        result = Runner(database_, parameters_).select(statement.select, readOnly, text);
        return statusOk;
    });
}

Status SqlRunner::execute(const std::string& text, std::int32_t& recordsAffected) {
    recordsAffected = 0;
    return guarded(errors_, [&] {
        SqlStatement statement = parseStatement(text);
        Runner runner(database_, parameters_);
        switch (statement.kind) {
        case SqlStatement::Kind::Select:
            throw SqlError(ErrorNumber::CannotExecuteSelect, {});
        case SqlStatement::Kind::Insert:
            recordsAffected = runner.insert(statement);
            break;
        case SqlStatement::Kind::Update:
            recordsAffected = runner.update(statement);
            break;
        case SqlStatement::Kind::Delete:
            recordsAffected = runner.remove(statement);
            break;
        }
        return statusOk;
    });
}

} // namespace mdbengine
