#include "accessdb/engine/EngineDates.h"

namespace accessdb {

std::string dateText(long long days) {
    // Civil date from days since 1970-01-01, 25569 days after the engine's first day, by
    // 400-year eras so that negative counts need no special case.
    long long z = days - 25569 + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp < 10 ? mp + 3 : mp - 9;
    long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return std::to_string(m) + "/" + std::to_string(d) + "/" + std::to_string(y);
}

} // namespace accessdb
