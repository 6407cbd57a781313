#pragma once

// Dates as Jet reads them, between "#" signs in a statement and as text given to a Date/Time
// field: month/day/year (a two-digit year from 30 is in the 1900s, below it in the 2000s) or
// year-month-day, a time of hours:minutes[:seconds] with an optional AM or PM, or both.
// The result counts days since 30 December 1899 with the time as the fraction.

#include <optional>
#include <string_view>

namespace mdbengine {

std::optional<double> parseJetDate(std::string_view text);

} // namespace mdbengine
