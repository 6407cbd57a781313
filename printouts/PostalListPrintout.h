#pragma once

#include "core/settings/SettingsLists.h"
#include "printouts/PrintRun.h"

#include <string>
#include <vector>

namespace quillan {

// The title on the pages of postal list n (1 to 12).
const std::string& postalListTitle(int number);

// Breaks a range text into at most `lineCount` lines at the first comma after each equal
// share of its characters. Each line keeps its comma and the blank after it, so the lines
// joined give back the text exactly; a share with no comma after it joins the last line.
std::vector<std::string> splitRangeText(const std::string& text, int lineCount);

// Prints postal list n (1 to 12) after asking for the range and copies: every label of the
// list, right-aligned, with the ZIP prefix ranges its chart gives it on the left (the unique
// cities of the 3-digit list in the centre). Needs no sort; reads only the postal lists.
void PrintPostalLists(PrintRun& run, const PostalLists& lists, int number);

} // namespace quillan
