#pragma once

#include "core/AppContext.h"
#include "core/PostalCharts.h"

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
    explicit ZipParser(AppContext& ctx);

    // Trims the text in place (leading, then trailing blanks, never below one character).
    int32_t parse(std::string& text);

private:
    AppContext& ctx_;
    ChartIndex chart_;
    bool requireZip4_;
    bool coSacked_;
};

// One ZIP text, with the settings as they stand.
int32_t ParseZip(AppContext& ctx, std::string& text);

} // namespace quillan
