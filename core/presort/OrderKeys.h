#pragma once

#include <cstdint>
#include <string>

namespace quillan {

// The keys by which the levels after the 5-digit one order their trays, sacks and groups.
// Each reads the digits at the end of a label; a key that is not a number throws the
// conversion error of the damaged label list.

// A 3-digit tray or sack, from its 3-digit label-list entry and prefix: an entry ending in
// "NNN!" sorts as prefix NNN, any other as its own prefix.
int64_t threeDigitOrderKeyOfEntry(const std::string& entry, int prefix);

// A scheme tray: the three characters before the first "*", else the last three.
int64_t schemeOrderKey(const std::string& containerLabel);

// An SCF label-list entry: the three characters before a final "!", else the last three.
int64_t scfOrderKey(const std::string& entry);

// A distribution-center (ADC or AADC) entry or "$" label: the end of its first line, as
// five digits; a three-digit end after a blank counts as those digits followed by "00".
int64_t distributionOrderCode(const std::string& entry);

} // namespace quillan
