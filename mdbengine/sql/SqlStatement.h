#pragma once

// A statement as the parser reads it. A select names one table; an update and a delete
// keep their table and condition in the same place, an insert its source rows (a select,
// or one row of values).

#include "mdbengine/sql/SqlExpression.h"

#include <memory>
#include <string>
#include <vector>

namespace mdbengine::sql {

struct SelectItem {
    std::unique_ptr<SqlExpression> expression; // none for "*" and "table.*"
    std::string alias;
    std::string starTable; // the table of "table.*"
};

struct OrderItem {
    std::unique_ptr<SqlExpression> expression;
    bool descending = false;
};

struct SqlSelect {
    bool distinct = false;
    std::vector<SelectItem> items;
    std::string table;
    std::string alias; // the name the statement gives the table, if any
    std::unique_ptr<SqlExpression> where;
    std::vector<OrderItem> orderBy;
};

struct Assignment {
    std::string column;
    std::unique_ptr<SqlExpression> value;
};

struct SqlStatement {
    enum class Kind { Select, Insert, Update, Delete };

    Kind kind = Kind::Select;
    // Select: the query. Update and delete: the table and the condition. Insert: the
    // source rows when they come from a select.
    SqlSelect select;
    // Insert: the table that takes the rows, the columns named (none: all, in order), and
    // the values when there is no select.
    std::string target;
    std::vector<std::string> columns;
    bool fromSelect = false;
    std::vector<std::unique_ptr<SqlExpression>> values;
    // Update.
    std::vector<Assignment> assignments;
};

} // namespace mdbengine::sql
