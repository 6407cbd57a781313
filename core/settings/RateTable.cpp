#include "core/settings/RateTable.h"

#include "core/Convert.h"

namespace quillan {

double RateTable::rate(long line) const {
    const std::string& text = at(line);
    double value = 0;
    if (!tryStrToFloat(text, value))
        throw ConvertError(std::string(FileName) + ", line " + std::to_string(line) + ": '" + text +
                           "' is not a valid floating point value");
    return value;
}

} // namespace quillan
