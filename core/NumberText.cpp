#include "core/NumberText.h"

#include "core/Convert.h"

namespace quillan {

static bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool parseUnsignedWhole(std::string_view text, int32_t& value) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!isDigit(c))
            return false;
    return tryStrToInt(text, value);
}

bool parseUnsignedDecimal(std::string_view text, double& value) {
    int digits = 0;
    int points = 0;
    for (char c : text) {
        if (c == '.')
            ++points;
        else if (isDigit(c))
            ++digits;
        else
            return false;
    }
    if (digits == 0 || points > 1)
        return false;
    return tryStrToFloat(text, value);
}

} // namespace quillan
