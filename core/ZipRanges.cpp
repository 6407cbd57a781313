#include "core/ZipRanges.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

namespace quillan {

namespace {

constexpr size_t MostPrefixesPerEdit = 1000;

void appendItem(std::string& text, const std::string& item) {
    if (!text.empty())
        text += ", ";
    text += item;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view trimLeadingBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// Collects the prefixes of one edit, refusing more than one edit may hold.
class PrefixCollector {
public:
    void add(int prefix) {
        if (prefixes_.size() >= MostPrefixesPerEdit)
            throw ZipRangeError("Range check error");
        prefixes_.push_back(prefix);
    }
    std::vector<int> take() { return std::move(prefixes_); }

private:
    std::vector<int> prefixes_;
};

[[noreturn]] void refuseRange(std::string_view range, const char* why) {
    throw ZipRangeError("'" + std::string(trimLeadingBlanks(range)) +
                        "' is not a range of 3-digit ZIP prefixes: " + why);
}

} // namespace

std::string prefixText(int prefix) {
    return zeroPad(prefix, 3);
}

ZipRangeText zipRangesForLabel(const SettingsList& chart, int32_t label) {
    ZipRangeText text;
    int runStart = 0; // first prefix of the open run, 0 when none is open
    auto closeRun = [&](int last) {
        if (runStart != 0 && last > runStart)
            text.ranges += "-" + prefixText(last);
        runStart = 0;
    };
    for (int prefix = 1; prefix <= LastZipPrefix; ++prefix) {
        int32_t value = chartValue(chart, prefix);
        if (value != label && value != -label) {
            closeRun(prefix - 1);
            continue;
        }
        if (runStart == 0) {
            appendItem(text.ranges, prefixText(prefix));
            runStart = prefix;
        }
        if (value < 0)
            appendItem(text.marked, prefixText(prefix));
    }
    closeRun(LastZipPrefix);
    return text;
}

std::vector<int> parseZipRanges(std::string_view text) {
    PrefixCollector prefixes;
    if (isBlank(text))
        return prefixes.take();
    size_t pieceStart = 0;
    size_t rangeStart = std::string_view::npos; // where the open range's text begins
    int32_t rangeFirst = 0;
    for (;;) {
        size_t end = text.find_first_of(",-", pieceStart);
        char separator = end == std::string_view::npos ? '\0' : text[end];
        int32_t value = strToInt(text.substr(pieceStart, end - pieceStart));
        if (rangeStart != std::string_view::npos) {
            std::string_view range = text.substr(rangeStart, end - rangeStart);
            if (separator == '-')
                refuseRange(text.substr(rangeStart, text.find(',', end) - rangeStart),
                            "a range has two ends.");
            if (!isZipPrefix(rangeFirst) || !isZipPrefix(value))
                refuseRange(range, "both ends must lie from 001 to 999.");
            prefixes.add(value);
            for (int32_t between = rangeFirst + 1; between < value; ++between)
                prefixes.add(between);
            rangeStart = std::string_view::npos;
        } else if (separator == '-') {
            rangeStart = pieceStart;
            rangeFirst = value;
            if (isZipPrefix(value))
                prefixes.add(value);
        } else if (isZipPrefix(value)) {
            prefixes.add(value);
        }
        if (end == std::string_view::npos)
            break;
        pieceStart = end + 1;
    }
    return prefixes.take();
}

std::vector<int> parsePrefixList(std::string_view text) {
    std::vector<int> prefixes;
    if (isBlank(text))
        return prefixes;
    size_t pieceStart = 0;
    for (;;) {
        size_t end = text.find(',', pieceStart);
        int32_t value = strToInt(text.substr(pieceStart, end - pieceStart));
        if (isZipPrefix(value))
            prefixes.push_back(value);
        if (end == std::string_view::npos)
            break;
        pieceStart = end + 1;
    }
    return prefixes;
}

} // namespace quillan
