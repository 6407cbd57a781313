#pragma once

#include <string_view>

namespace quillan {

// Reading the destination texts of trays, sacks and groups. A text shorter than the
// positions read gives an empty part: these helpers never read outside the text.

// The ZIP part a destination ends in, read from its first line (the text before any "*"):
// the last five characters, or the last three when a blank stands before them. With
// `orderCode`, a 3-digit part after "!" ("MID CITIES TX 751! 753") gives the three digits
// before the "!", by which the tray is sorted.
std::string_view destinationZip(std::string_view destination, bool orderCode = false);

} // namespace quillan
