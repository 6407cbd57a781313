#include "reports/DestinationText.h"

namespace quillan {

std::string_view destinationZip(std::string_view destination, bool orderCode) {
    std::string_view d = destination.substr(0, destination.find('*'));
    size_t n = d.size();
    if (n < 4)
        return {};
    if (d[n - 4] != ' ')
        return n >= 5 ? d.substr(n - 5) : std::string_view{};
    if (orderCode && n >= 5 && d[n - 5] == '!')
        return n >= 8 ? d.substr(n - 8, 3) : std::string_view{};
    return d.substr(n - 3);
}

} // namespace quillan
