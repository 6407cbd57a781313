#pragma once

// Splits a statement into tokens: words, names in brackets, numbers, texts in single or
// double quotes (a doubled quote stands for one), dates between "#" signs, "?" and the
// signs of the grammar. Throws SqlError for a text, name or date left open and for a
// character that has no place in a statement.

#include "mdbengine/sql/SqlToken.h"

#include <string>
#include <vector>

namespace mdbengine::sql {

std::vector<SqlToken> tokenize(const std::string& statement);

} // namespace mdbengine::sql
