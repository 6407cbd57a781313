#pragma once

// Jet's LIKE patterns: "*" any run of characters, "?" one character, "#" one digit, and
// "[...]" one character of a list or range ("[a-f]"), or of none of them ("[!a-f]"); a
// bracket also stands for the sign itself ("[*]"). Characters match, and ranges take
// them, as their index keys compare in the database's order: letters without regard to
// case, an accented letter apart from the plain one.

#include "mdbengine/tables/KeyOrder.h"

#include <string_view>

namespace mdbengine::sql {

bool likeMatches(std::string_view text, std::string_view pattern, file::TextOrder order);

} // namespace mdbengine::sql
