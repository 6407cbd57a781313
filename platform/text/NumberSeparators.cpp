#include "platform/text/NumberSeparators.h"

#include <clocale>

namespace platform {

NumberSeparators SystemLocaleSettings::separators() const {
    NumberSeparators result;
    const std::lconv* conventions = std::localeconv();
    if (conventions && conventions->decimal_point && conventions->decimal_point[0] &&
        !conventions->decimal_point[1])
        result.decimal = conventions->decimal_point[0];
    result.list = result.decimal == ',' ? ';' : ',';
    return result;
}

} // namespace platform
