#pragma once

// The SQL text of a stored query, made from its rows in MSysQueries: the query's kind, its
// table, columns (with the names they are shown under, or the columns an update or append
// writes), condition and order. Throws SqlError 3251, naming the query and its kind, for
// the kinds not run here (make-table, crosstab, union, pass-through, data-definition) and
// for queries over several tables or with grouping.

#include "mdbengine/tables/Catalog.h"

#include <string>
#include <vector>

namespace mdbengine::sql {

std::string savedQuerySql(const std::string& name, const std::vector<file::QueryRow>& rows);

// Whether the stored query returns rows (a select) rather than changing them.
bool savedQueryIsSelect(const std::vector<file::QueryRow>& rows);

} // namespace mdbengine::sql
