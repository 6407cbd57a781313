#pragma once

#include <string_view>

namespace quillan {

// Reading the destination texts of trays, sacks and groups. A text shorter than the
// positions read gives an empty part: these helpers never read outside the text.

bool startsWith(std::string_view text, std::string_view prefix);

// The character n from the end (1 is the last), or NUL when the text is shorter.
char charFromEnd(std::string_view text, size_t n);

// The ZIP part a destination ends in, read from its first line (the text before any "*"):
// the last five characters, or the last three when a blank stands before them. With
// `orderCode`, a 3-digit part after "!" ("MID CITIES TX 751! 753") gives the three digits
// before the "!", by which the tray is sorted.
std::string_view destinationZip(std::string_view destination, bool orderCode = false);

// Characters `first` to `first + count - 1` (counting from 1), as many as the text holds.
std::string_view characters(std::string_view text, size_t first, size_t count);

} // namespace quillan
