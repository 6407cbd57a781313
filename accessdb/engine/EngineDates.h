#pragma once

// The engine's dates count days from 30 December 1899, the time of day their fraction; its
// timestamps count milliseconds from day 1 of year 1.

#include <string>

namespace accessdb {

constexpr double TimestampEpochDays = 693594.0; // day 1 of year 1 to 30 December 1899
constexpr double MsPerDay = 86400000.0;

// A whole day count as "m/d/yyyy" (proleptic Gregorian, any year).
std::string dateText(long long days);

} // namespace accessdb
