#pragma once

#include "core/SettingsList.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillan {

// The 3-digit ZIP prefixes a chart gives one label, as a person reads and types them: each
// run of consecutive prefixes as its first and last joined by "-", items separated by ", ",
// every prefix with three digits ("001-005, 010"). The chart editor shows this text and the
// printed postal lists print it, so both always agree.
struct ZipRangeText {
    std::string ranges;
    // The label's prefixes whose chart value is negative (the unique cities of the 3-digit
    // chart), one by one in the same form.
    std::string marked;
};

// The ranges of the prefixes 1 to 999 whose chart value is the label or its negative; both
// texts are empty when the label has none. A chart line that is not a number throws
// ConvertError, a missing one ListIndexError.
ZipRangeText zipRangesForLabel(const SettingsList& chart, int32_t label);

// A prefix as the lists show it: three digits with leading zeros.
std::string prefixText(int prefix);

// Typed prefixes that cannot be taken; the message is the one the person sees.
class ZipRangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The prefixes of a typed range text such as "001-005, 010", in the order typed: a single
// prefix, or a range that stands for both ends and every prefix between them (a reversed
// range for its two ends only). Pieces are separated by "," or "-" and may have blanks
// before their digits only. A single value outside 1 to 999 is ignored. Blank text lists
// nothing. Throws ConvertError for a piece that is not a number, ZipRangeError for a
// range with an end outside 1 to 999 or more than two ends, and for more than 1000
// prefixes.
std::vector<int> parseZipRanges(std::string_view text);

// Prefixes separated by "," only (no ranges), values outside 1 to 999 ignored; blank text
// lists nothing. Throws ConvertError for a piece that is not a number.
std::vector<int> parsePrefixList(std::string_view text);

} // namespace quillan
