#pragma once

#include "core/SortedMailing.h"
#include "printouts/PageLayout.h"
#include "printouts/SummaryPostage.h"

#include <string>

namespace quillan {

// The postage computation of the summary page, laid out like the back of the postal form:
// a row for each rate line that can apply to the mailing's class, with its pieces (or pounds),
// rate and amount, then the totals the mailer carries to the front of the form. Standard and
// First-Class: from y, below the column heads, to the last total. Periodicals: the second
// page from its column heads: the outside-county piece rows, their discounts and totals, the
// in-county pound and piece rates and the total postage. The pen is left after the last line.
// The form part decides the rows' layout and the total's wording ("A.", "D."...).
void PrintPostageComputation(PageLayout& page, const SortedMailing& mailing,
                             const SummaryPostage& postage, std::string formPart, int y);

// The head of a Periodicals piece-rate table, outside or in the county: the title at y, the
// column heads and the rule under them. Returns the rule's y.
int PrintPieceRateHead(PageLayout& page, int y, const char* title);

// The outside-county pound-rate table that ends the first summary page of Periodicals, from
// below the heading at the pen (the pen is left after its last line).
void PrintPoundRateTable(PageLayout& page, const SummaryPostage& postage);

} // namespace quillan
