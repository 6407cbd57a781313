#pragma once

#include "mdbengine/values/Variant.h"

#include <string>

namespace mdbengine {

// A value as text, as `&` joins it, LIKE matches it and a text field takes it: True/False,
// whole numbers as they are, other numbers with fifteen significant digits, Null and Empty as
// "". A date is its count of days, the number arithmetic and comparisons take it as, so that
// joining and comparing a date agree; a text field refuses a date before asking.
std::string textOf(const Variant& value);

} // namespace mdbengine
