#pragma once

#include "mdbengine/values/Variant.h"

#include <string>

namespace mdbengine {

// A value as text, as `&` joins it, LIKE matches it and a text field takes it: True/False,
// whole numbers as they are, other numbers with fifteen significant digits, Null and Empty as
// "". A date is its count of days, the number arithmetic and comparisons take it as, so that
// a date's text compares equal to it; a text field refuses a date before asking.
std::string textOf(const Variant& value);

} // namespace mdbengine
