#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillan {

struct ListFormat;

// The fields of one line of a text list. Counting and splitting walk the line by the same
// rules, so that a line always splits into as many fields as it counts:
// - tab and bar lists: a tab or a bar ends a field (either in either list); a field wrapped
//   in straight double quotes loses them. In a bar list every field, the last included, is
//   followed by a bar, so the text after the last bar is no field of its own.
// - comma and merge lists: a comma ends a field. A field that begins with a quote character runs to
//   the next quote character, commas included, without the quotes; inside it a quote
//   character followed by a straight double quote stands for the first of the two (so
//   `""` is one `"`). An unclosed quote runs to the end of the line. Anything between the
//   closing quote and the next comma is kept.

// The number of fields of the line, 0 for a format that is no text format.
int fieldCount(const ListFormat& format, std::string_view line);

// Fills entries 0 .. n-1 of the field list from the line (any entry beyond n is emptied);
// a line with fewer fields leaves the rest empty, fields past n are ignored. Other formats
// leave every entry empty.
void SplitAsciiRecord(const ListFormat& format, int n, std::string_view line,
                      std::vector<std::string>& fields);

// One field of a line as the line holds it: its bytes up to the separator, and whether
// writing those bytes back beside other fields reads as the same text again (false only
// for a comma field whose quote is never closed, which would swallow what follows it).
struct RawField {
    std::string_view bytes;
    bool standsAlone = true;
};

// Every field of the line as written, the text after the last bar of a bar line included
// when there is any.
std::vector<RawField> rawFields(const ListFormat& format, std::string_view line);

// False when a field of the line would swallow what is written after it.
bool allFieldsStandAlone(const ListFormat& format, std::string_view line);

// The tabs and bars of the line that lie outside the quoted parts of its fields, read as a
// comma line: a separator of the line's own, not a character of a quoted text.
std::string separatorsOutsideQuotes(std::string_view line);

// How one line of a comma record leaves its quoted fields: whether a quoted field is still
// open at its end, so that its text goes on after the line break (a spreadsheet's cell of
// two lines), and whether a field that came in open from the line before closed as such a
// field must: directly before a comma or at the end of the line.
struct QuoteWalk {
    bool openAtEnd = false;
    bool carriedFieldEndsCleanly = true;
};
QuoteWalk walkCommaQuotes(std::string_view line, bool openAtStart);

// A field of a comma list written so that it reads back as `text`: in double quotes, each
// quote character inside followed by a straight double quote.
std::string quotedCommaField(std::string_view text);

} // namespace quillan
