#pragma once

#include <string>

namespace quillan {

// A date as the reports print it: month/day/year without leading zeros ("4/1/2003"), the
// short date form of the US desktop the mailers use.
std::string shortDateText(int year, int month, int day);

// Today's date in that form, by the local clock.
std::string todayShortDate();

} // namespace quillan
