#include "core/presort/OrderKeys.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

namespace quillan {

namespace {

std::string lastChars(const std::string& text, size_t n) {
    return text.size() < n ? text : text.substr(text.size() - n);
}

// The three characters before position `end` (or as many as there are).
std::string threeBefore(const std::string& text, size_t end) {
    size_t start = end < 3 ? 0 : end - 3;
    return text.substr(start, end - start);
}

} // namespace

int64_t threeDigitOrderKeyOfEntry(const std::string& entry, int prefix) {
    if (!entry.empty() && entry.back() == '!')
        return strToInt(threeBefore(entry, entry.size() - 1));
    return prefix;
}

int64_t schemeOrderKey(const std::string& containerLabel) {
    size_t star = containerLabel.find('*');
    if (star != std::string::npos)
        return strToInt(threeBefore(containerLabel, star));
    return strToInt(lastChars(containerLabel, 3));
}

int64_t scfOrderKey(const std::string& entry) {
    if (!entry.empty() && entry.back() == '!')
        return strToInt(threeBefore(entry, entry.size() - 1));
    return strToInt(lastChars(entry, 3));
}

int64_t distributionOrderCode(const std::string& entry) {
    std::string first = firstLine(entry);
    size_t n = first.size();
    if (n >= 4 && first[n - 4] == ' ')
        return strToInt(first.substr(n - 3)) * 100;
    return strToInt(lastChars(first, 5));
}

} // namespace quillan
