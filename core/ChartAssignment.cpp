#include "core/ChartAssignment.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <set>

namespace quillan {

namespace {

int32_t magnitude(int32_t value) {
    return value < 0 ? -value : value;
}

std::vector<int32_t> readChart(const SettingsList& chart) {
    std::vector<int32_t> values(LastZipPrefix + 1, 0);
    for (int prefix = 1; prefix <= LastZipPrefix; ++prefix)
        values[static_cast<size_t>(prefix)] = chartValue(chart, prefix);
    return values;
}

void store(SettingsList& chart, std::vector<int32_t>& values, int prefix, int32_t value) {
    values[static_cast<size_t>(prefix)] = value;
    chart.set(prefix, intToStr(value));
}

// The prefixes the label holds in the chart.
std::vector<int> prefixesOf(const std::vector<int32_t>& values, int32_t label) {
    std::vector<int> held;
    for (int prefix = 1; prefix <= LastZipPrefix; ++prefix)
        if (magnitude(values[static_cast<size_t>(prefix)]) == label)
            held.push_back(prefix);
    return held;
}

void markIfOnlyPrefix(SettingsList& chart, std::vector<int32_t>& values, int32_t label) {
    std::vector<int> held = prefixesOf(values, label);
    if (held.size() == 1)
        store(chart, values, held.front(), -label);
}

} // namespace

ChartMarks chartMarksOf(int postalList) {
    switch (postalList) {
    case 1:
        return ChartMarks::UniqueCities;
    case 3:
        return ChartMarks::OnlyPrefixOfLabel;
    default:
        return ChartMarks::None;
    }
}

void assignPrefixes(SettingsList& chart, int32_t label, const std::vector<int>& prefixes,
                    const std::vector<int>& marked, ChartMarks marks) {
    const std::vector<int32_t> before = readChart(chart);
    std::vector<int32_t> values = before;
    for (int prefix = 1; prefix <= LastZipPrefix; ++prefix)
        if (magnitude(values[static_cast<size_t>(prefix)]) == label)
            store(chart, values, prefix, 0);

    const std::set<int> markedSet(marked.begin(), marked.end());
    for (int prefix : prefixes) {
        if (!isZipPrefix(prefix))
            continue;
        if (magnitude(values[static_cast<size_t>(prefix)]) == label)
            continue; // listed twice
        bool unique = marks == ChartMarks::UniqueCities && markedSet.count(prefix) > 0;
        store(chart, values, prefix, unique ? -label : label);
    }
    if (marks != ChartMarks::OnlyPrefixOfLabel)
        return;
    markIfOnlyPrefix(chart, values, label);
    std::set<int32_t> losers;
    for (int prefix : prefixes) {
        if (!isZipPrefix(prefix))
            continue;
        int32_t previous = magnitude(before[static_cast<size_t>(prefix)]);
        if (previous != 0 && previous != label)
            losers.insert(previous);
    }
    for (int32_t loser : losers)
        markIfOnlyPrefix(chart, values, loser);
}

} // namespace quillan
