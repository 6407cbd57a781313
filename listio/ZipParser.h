#pragma once

#include "core/PostalCharts.h"
#include "core/WorkTables.h"
#include "core/settings/SettingsLists.h"

#include <cstdint>
#include <string>

namespace quillan {

// Validates ZIP texts against the settings of one run: the 3-digit chart, the mail type
// and the ZIP+4 preference, taken once so that a whole list is parsed quickly.
//
// A text is refused (counted in rejectedCount) when it is not a ZIP of the forms NNNNN,
// NNNNN-, NNNNNNNNN, NNNNN-NNNN or is below 00100, when its 3-digit prefix is not served, or
// when an automation class needs the ZIP+4 it lacks; a co-sacked class's record without
// ZIP+4 is counted in missingZip4Count.
class ZipParser {
public:
    // Counts the rejected and the co-sacked records without ZIP+4 into `counters`.
    ZipParser(const SettingsLists& settings, MailingCounters& counters);

    // Trims the text in place (leading, then trailing blanks, never below one character)
    // and gives the piece its ZIP (the first five digits), why it was refused, and whether
    // it lacks the ZIP+4.
    Piece parse(std::string& text);

private:
    MailingCounters& counters_;
    ChartIndex chart_;
    bool requireZip4_;
    bool coSacked_;
};

} // namespace quillan
