#include "core/ShortDate.h"

#include <ctime>

namespace quillan {

std::string shortDateText(int year, int month, int day) {
    return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
}

std::string todayShortDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return shortDateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace quillan
