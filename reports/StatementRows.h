#pragma once

#include "core/MailClass.h"

#include <cstddef>
#include <vector>

namespace quillan {

// Where the second page of the statement prints each line of a rate block: a row of a
// lettered section of the form. The permit-imprint forms list every line; the affixed
// forms of the pieces over 3.3 oz have one row per piece and pound pair, which takes the
// pound line (it carries the pieces, the combined rate and the pair's postage).
// Periodicals also place the piece subtotal, the in-county pounds and the in-county
// piece lines this way.
struct LinePlacement {
    size_t line = 0;
    char section = 0;
    int row = 0;

    friend bool operator==(const LinePlacement&, const LinePlacement&) = default;
};

// The placements of a block (1 to 13); nothing for block 0.
std::vector<LinePlacement> statementLinePlacements(int block, MailClass mailClass,
                                                   bool permitImprint);

// The total printed under a section on page 2: the block's total, or for co-sacked
// Standard flats its automation lines (section A) and the rest (section B).
struct SectionTotal {
    enum Part { Whole, Automation, Rest };
    char section = 0;
    double y = 0;
    Part part = Whole;
};

std::vector<SectionTotal> statementSectionTotals(int block, bool permitImprint);

} // namespace quillan
