#pragma once

#include "core/settings/SettingsLists.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillan {

// The three tag lines of a label-list entry, stored as "line1*line2**line3".
struct EntryLines {
    std::string line1, line2, line3;
    friend bool operator==(const EntryLines&, const EntryLines&) = default;
};

EntryLines splitEntry(const std::string& entry);
std::string joinEntry(const EntryLines& lines);
// The text before the first "*", or the whole entry.
std::string firstLine(const std::string& entry);

// The value of a chart's line for a 3-digit prefix (1 to 999): a label number (negative
// for a marked prefix), 0 for none; in the zone chart the zone itself. A line that is not
// a number throws ConvertError; a missing line ListIndexError.
int32_t chartValue(const SettingsList& chart, int prefix);
// Line n of a label list (n >= 1); ListIndexError past the end.
const std::string& labelText(const SettingsList& labels, int32_t number);
// The 3-digit prefixes that charts list run from 1 to LastZipPrefix.
inline constexpr int LastZipPrefix = 999;
inline bool isZipPrefix(int32_t value) {
    return value >= 1 && value <= LastZipPrefix;
}
// The 3-digit prefix of a ZIP code or a ZIP group's key: the ZIP divided by 100.
inline int zipPrefix(int32_t zip) {
    return (zip < 0 ? -zip : zip) / 100;
}
// The label a chart names for a 3-digit prefix (a negative value names the same label), or
// nothing when the prefix lies outside the chart, its value is 0 or the label list has no
// such line. A chart line that is not a number throws ConvertError.
std::optional<std::string> chartLabel(const SettingsList& chart, const SettingsList& labels,
                                      int prefix);

// A chart converted once, for the presort's inner loops. Reading a line that did not
// convert throws the same error as reading the chart itself would.
class ChartIndex {
public:
    explicit ChartIndex(const SettingsList& chart);
    int32_t value(int prefix) const;

private:
    const SettingsList* chart_;
    std::vector<int32_t> values_;
    std::vector<bool> valid_;
};

// The twelve postal lists, numbered 1 to 12 as the menus and editors number them.
struct PostalList {
    int number;
    const char* menuEntry;
    const char* editorTitle;
    const char* labelFile;
    const char* chartFile;
    SettingsList PostalLists::*labels;
    SettingsList PostalLists::*chart;
};

const PostalList& postalList(int number); // throws std::out_of_range outside 1 to 12
const std::vector<PostalList>& postalLists();

} // namespace quillan
