#include "mdbengine/values/JetDate.h"

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace mdbengine {

namespace {

// Days of a civil date counted from 30 December 1899.
std::int64_t daysOf(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    std::int64_t yearOfEra = year - era * 400;
    std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    constexpr std::int64_t dayZero = 693899; // 30 December 1899, counted from 1 March of year 0
    return era * 146097 + dayOfEra - dayZero;
}

bool leapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(std::int64_t year, std::int64_t month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : days[month - 1];
}

// Splits "12/31/2003" or "10:30:00" into its numbers; false when anything else is there.
bool numbers(std::string_view text, char separator, std::vector<std::int64_t>& parts,
             std::size_t& digitsOfFirst) {
    parts.clear();
    std::size_t i = 0;
    while (true) {
        std::size_t start = i;
        std::int64_t value = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) &&
               i - start < 9)
            value = value * 10 + (text[i++] - '0');
        if (i == start)
            return false;
        if (parts.empty())
            digitsOfFirst = i - start;
        parts.push_back(value);
        if (i == text.size())
            return true;
        if (text[i] != separator)
            return false;
        ++i;
    }
}

std::optional<double> datePart(std::string_view text) {
    std::vector<std::int64_t> parts;
    std::size_t firstDigits = 0;
    std::int64_t year = 0, month = 0, day = 0;
    if (numbers(text, '/', parts, firstDigits) && parts.size() == 3) {
        month = parts[0];
        day = parts[1];
        year = parts[2];
    } else if (numbers(text, '-', parts, firstDigits) && parts.size() == 3 && firstDigits == 4) {
        year = parts[0];
        month = parts[1];
        day = parts[2];
    } else {
        return std::nullopt;
    }
    if (year < 100)
        year += year < 30 ? 2000 : 1900;
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        return std::nullopt;
    return static_cast<double>(daysOf(year, month, day));
}

std::optional<double> timePart(std::string_view text, std::string_view meridiem) {
    std::vector<std::int64_t> parts;
    std::size_t firstDigits = 0;
    if (!numbers(text, ':', parts, firstDigits) || parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    std::int64_t hours = parts[0];
    std::int64_t minutes = parts[1];
    std::int64_t seconds = parts.size() == 3 ? parts[2] : 0;
    if (!meridiem.empty()) {
        if (hours < 1 || hours > 12)
            return std::nullopt;
        hours %= 12;
        if (meridiem == "PM")
            hours += 12;
    }
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return static_cast<double>(hours * 3600 + minutes * 60 + seconds) / 86400.0;
}

} // namespace

std::optional<double> parseJetDate(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    std::string meridiem;
    if (!words.empty() && (words.back() == "AM" || words.back() == "PM")) {
        meridiem = words.back();
        words.pop_back();
    }
    if (words.empty() || words.size() > 2)
        return std::nullopt;
    bool firstIsTime = words[0].find(':') != std::string::npos;
    if (words.size() == 1) {
        if (firstIsTime)
            return timePart(words[0], meridiem);
        return meridiem.empty() ? datePart(words[0]) : std::nullopt;
    }
    std::optional<double> date = datePart(words[0]);
    std::optional<double> time = timePart(words[1], meridiem);
    if (!date || !time)
        return std::nullopt;
    // Before day 0 the time still counts forward from midnight, as the engine stores it.
    return *date < 0 ? *date - *time : *date + *time;
}

} // namespace mdbengine
