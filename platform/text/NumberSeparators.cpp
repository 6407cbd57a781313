#include "platform/text/NumberSeparators.h"

#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <string>

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

// The user's locale as the environment names it, whatever the process itself set: only its
// telephone part is asked for. Canada shares the prefix 1 with the United States but is
// country 2 to the desktop platform.
int SystemLocaleSettings::countryCode() const {
    locale_t user = newlocale(LC_TELEPHONE_MASK | LC_ADDRESS_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0))
        return 1;
    std::string prefix = nl_langinfo_l(_NL_TELEPHONE_INT_PREFIX, user);
    std::string territory = nl_langinfo_l(_NL_ADDRESS_COUNTRY_AB2, user);
    freelocale(user);
    if (territory == "CA")
        return 2;
    char* end = nullptr;
    long code = std::strtol(prefix.c_str(), &end, 10);
    if (prefix.empty() || *end != '\0' || code <= 0 || code > 0xFFFF)
        return 1;
    return static_cast<int>(code);
}

} // namespace platform
