#pragma once

#include <string_view>

namespace quillan {

// Mail types of mailtype.dat line 1 ("5", "6", "7") that are Periodicals: they have an
// in-county rate, need a piece weight and have no minimum mailing size.
inline bool isPeriodicalsMailType(std::string_view mailType) {
    return mailType == "5" || mailType == "6" || mailType == "7";
}

} // namespace quillan
