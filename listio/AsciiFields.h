#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillan {

// The fields of one line of a text list. Counting and splitting walk the line by the same
// rules, so that a line always splits into as many fields as it counts:
// - tab and bar kinds: a tab or a bar ends a field (either in either kind); a field wrapped
//   in straight double quotes loses them. In a bar list every field, the last included, is
//   followed by a bar, so the text after the last bar is no field of its own.
// - comma kinds: a comma ends a field. A field that begins with a quote character runs to
//   the next quote character, commas included, without the quotes; an unclosed quote runs
//   to the end of the line. Anything between the closing quote and the next comma is kept.

// The number of fields of the line, 0 for a kind that is not a text kind.
int fieldCount(std::string_view kind, std::string_view line);

// Fills entries 0 .. n-1 of the field list from the line (any entry beyond n is emptied);
// a line with fewer fields leaves the rest empty, fields past n are ignored. Other kinds
// leave every entry empty.
void SplitAsciiRecord(std::string_view kind, int n, std::string_view line,
                      std::vector<std::string>& fields);

} // namespace quillan
