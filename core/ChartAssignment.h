#pragma once

#include "core/SettingsList.h"

#include <cstdint>
#include <vector>

namespace quillan {

// What a negative value marks in a chart, as the chart editor keeps it.
enum class ChartMarks {
    None,
    // The 3-digit chart: unique-city prefixes, chosen by the person.
    UniqueCities,
    // The SCF chart: the only prefix of an SCF label that has exactly one.
    OnlyPrefixOfLabel,
};

// The marks the chart of a postal list (1 to 12) keeps.
ChartMarks chartMarksOf(int postalList);

// Gives a label exactly the listed prefixes in the chart: prefixes no longer listed lose
// the label (0), listed prefixes take it from whatever label had them. With UniqueCities a
// listed prefix that is also in `marked` is stored negative; with OnlyPrefixOfLabel the
// label and every label that lost a prefix to it are marked when left with a single
// prefix. Every chart line 1 to 999 is read first, so a chart line that is not a number
// (ConvertError) or a short chart (ListIndexError) leaves the chart unchanged.
void assignPrefixes(SettingsList& chart, int32_t label, const std::vector<int>& prefixes,
                    const std::vector<int>& marked, ChartMarks marks);

} // namespace quillan
