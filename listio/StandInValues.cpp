#include "listio/StandInValues.h"

#include "core/Convert.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quillan {

namespace {

// Stand-in texts: "Q" and base-36 digits, so that none is a number.
constexpr char digits36[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// Seven digits give 36^7 texts, more than any table holds records.
constexpr int mostTextDigits = 7;

std::optional<long long> wholeNumber(const std::string& text) {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value) || value != std::trunc(value) ||
        std::fabs(value) > 9e15)
        return std::nullopt;
    return static_cast<long long>(value);
}

std::string text36(long long n, int width) {
    std::string text(static_cast<size_t>(width), '0');
    for (int i = width - 1; i >= 0 && n > 0; --i, n /= 36)
        text[static_cast<size_t>(i)] = digits36[n % 36];
    return text;
}

} // namespace

void StandInValues::taken(const std::string& value) {
    if (!field_.text) {
        if (auto number = wholeNumber(value))
            takenNumbers_.insert(*number);
        return;
    }
    takenTexts_.insert(upperAscii(value));
}

std::optional<std::vector<std::string>> StandInValues::make(std::size_t count) const {
    return field_.text ? texts(count) : numbers(count);
}

// Below zero first, where no sort, tray or package number lies; then down from the largest.
std::optional<std::vector<std::string>> StandInValues::numbers(std::size_t count) const {
    std::vector<std::string> made;
    auto offer = [&](long long n) {
        if (!takenNumbers_.count(n))
            made.push_back(std::to_string(n));
        return made.size() == count;
    };
    if (count == 0)
        return made;
    for (long long n = -1; n >= field_.smallest; --n)
        if (offer(n))
            return made;
    for (long long n = field_.largest; n >= 0; --n)
        if (offer(n))
            return made;
    return std::nullopt;
}

std::optional<std::vector<std::string>> StandInValues::texts(std::size_t count) const {
    std::vector<std::string> made;
    if (count == 0)
        return made;
    const std::string prefix = field_.width >= 2 ? "Q" : "";
    const int digits = std::min(field_.width - static_cast<int>(prefix.size()), mostTextDigits);
    if (digits < 1)
        return std::nullopt;
    long long possible = 1;
    for (int i = 0; i < digits; ++i)
        possible *= 36;
    for (long long n = 0; n < possible; ++n) {
        std::string text = prefix + text36(n, digits);
        if (takenTexts_.count(text))
            continue;
        made.push_back(std::move(text));
        if (made.size() == count)
            return made;
    }
    return std::nullopt;
}

} // namespace quillan
