#include "reports/DestinationText.h"

namespace quillan {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

char charFromEnd(std::string_view text, size_t n) {
    return n >= 1 && n <= text.size() ? text[text.size() - n] : '\0';
}

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

std::string_view characters(std::string_view text, size_t first, size_t count) {
    if (first < 1 || first > text.size())
        return {};
    return text.substr(first - 1, count);
}

} // namespace quillan
