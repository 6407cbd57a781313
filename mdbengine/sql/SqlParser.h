#pragma once

// Reads the statements this engine runs:
//   SELECT [DISTINCT] * | items FROM table [[AS] alias] [WHERE condition]
//          [ORDER BY expression [ASC|DESC], ...]
//   INSERT INTO table [(columns)] VALUES (expressions) | select
//   UPDATE table SET column = expression, ... [WHERE condition]
//   DELETE [*] FROM table [WHERE condition]
// with an optional PARAMETERS declaration before them and a ";" after. Throws SqlError:
// 3075 for a statement that does not read, 3251 for one beyond this subset (joins,
// grouping, functions, more than one table).

#include "mdbengine/sql/SqlStatement.h"

#include <string>

namespace mdbengine::sql {

SqlStatement parseStatement(const std::string& text);

// Whether the text begins like a statement rather than a table or query name.
bool looksLikeStatement(const std::string& text);

} // namespace mdbengine::sql
