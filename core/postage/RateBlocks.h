#pragma once

#include "core/MailClass.h"
#include "core/postage/RateCategory.h"
#include "core/postage/RateLine.h"
#include "core/settings/MailTypeSettings.h"
#include "core/settings/PeriodicalSettings.h"
#include "core/settings/RateTable.h"

#include <string_view>
#include <vector>

namespace quillan {

// The rate lines of a mailing: one fixed list of lines per class (and, for Standard and
// First-Class, per weight), in the order the statement computes and prints them, each
// with its rates.dat line. The postage statement and the postage computation of the
// preparation instructions both print these lists.

struct RateBlockLine {
    std::string_view label; // the caption on the form; PoundLineLabel for a pound line
    RateCategory category;
    long rateLine = 0;
    // Nonmachinable letters pay a surcharge on top: its line, or 0.
    long surchargeLine = 0;
    // 0 on the line that opens a group of lines (an entry discount, a level), 1 on the
    // others; the computation does not depend on it.
    int rowVariant = 0;

    bool isPoundLine() const { return label == PoundLineLabel; }
};

// The statement numbers its blocks 1 to 13:
//   pieces over 3.3 oz (and First-Class cards): 1 RNML/RNAF, 2 RAL, 3 RAF, 4 RCOF, 5 FAL
//   cards; otherwise 6 FAL, 7 RNML, 8 RML, 9 RNAF, 10 RAL, 11 RAF, 12 RCOF, 13 Periodicals.
// A mailing with no class has no block: number 0, no lines.
struct RateBlock {
    int number = 0;
    std::vector<RateBlockLine> lines;
    // Co-sacked Standard flats (blocks 4 and 12 start with their automation lines): the
    // lines before this index are the automation part; 0 for the other blocks.
    size_t automationLines = 0;
};

// Whether the rates go by the exact piece weight of mailtype.dat. Machinable letters weigh
// 3.3 oz or less by definition (their dialog fixes the choice), whatever a hand-edited
// file says, so that they are never priced as pieces over 3.3 oz, for which they have no
// rate block.
bool hasExactWeight(MailClass mailClass, const MailTypeSettings& mailType);
// Pieces given an exact weight over 3.3 oz, priced by the piece and by the pound.
bool hasPoundRatedWeight(MailClass mailClass, const MailTypeSettings& mailType);
// The blocks of pieces over 3.3 oz and of First-Class cards (the "pound-rated" set).
bool usesPoundRatedBlock(MailClass mailClass, const MailTypeSettings& mailType);
// First-Class letters: the rate row of their weight (the first without an exact weight).
RateTable::Base firstClassRow(const MailTypeSettings& mailType);
// Periodicals outside-county rates: Regular, or Science of Agriculture.
RateTable::Base periodicalBase(const PeriodicalSettings& periodical);

RateBlock rateBlockFor(MailClass mailClass, const MailTypeSettings& mailType,
                       const PeriodicalSettings& periodical);

// The rate of a line; a line with a surcharge adds the two and shows the sum as a plain
// number. A rates.dat line that is not a number throws ConvertError naming the line.
Rate rateOf(const RateTable& rates, const RateBlockLine& line);

} // namespace quillan
