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
// The value is the 5-digit ZIP when it is accepted; minus the ZIP for a co-sacked class's
// record without ZIP+4 (counted in missingZip4Count); code * 100000 - ZIP for a rejected
// record (counted in rejectedCount), with code -2 (not a ZIP of the forms NNNNN, NNNNN-,
// NNNNNNNNN, NNNNN-NNNN, or below 00100), -6 (3-digit prefix not served) or -7 (ZIP+4
// required in an automation class but missing).
class ZipParser {
public:
    // Counts the rejected and the co-sacked records without ZIP+4 into `counters`.
    ZipParser(const SettingsLists& settings, MailingCounters& counters);

    // Trims the text in place (leading, then trailing blanks, never below one character).
    int32_t parse(std::string& text);

private:
    MailingCounters& counters_;
    ChartIndex chart_;
    bool requireZip4_;
    bool coSacked_;
};

// One ZIP text, with the settings as they stand.
int32_t ParseZip(const SettingsLists& settings, MailingCounters& counters, std::string& text);

} // namespace quillan
