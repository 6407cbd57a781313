#include "core/Convert.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace quillan {

namespace {

// Numbers may be typed after spaces or tabs.
size_t leadingBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return i;
}

} // namespace

bool tryStrToInt(std::string_view text, int32_t& value) {
    size_t i = leadingBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return false;
    }
    int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int32_t>::max() ||
        result < std::numeric_limits<int32_t>::min())
        return false;
    value = static_cast<int32_t>(result);
    return true;
}

int32_t strToInt(std::string_view text) {
    int32_t value = 0;
    if (!tryStrToInt(text, value))
        throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

bool tryStrToFloat(std::string_view text, double& value) {
    size_t i = leadingBlanks(text);
    size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != text.size())
        return false;
    std::string copy(text.substr(start));
    errno = 0;
    value = std::strtod(copy.c_str(), nullptr);
    return errno == 0;
}

double strToFloat(std::string_view text) {
    double value = 0;
    if (!tryStrToFloat(text, value))
        throw ConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

std::string intToStr(int64_t value) {
    return std::to_string(value);
}

std::string zeroPad(int64_t value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace quillan
