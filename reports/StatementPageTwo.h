#pragma once

#include "core/SortedMailing.h"
#include "core/postage/StatementPostage.h"
#include "reports/StatementText.h"

#include <vector>

namespace quillan {

// The second page of the statement: every line of the rate block in its row of the form's
// section (pieces, amount and, where the form has the column, the rate), the total under
// each section, and for Periodicals the adjustments, discounts, pound and in-county charges
// at their places. A line whose row the form does not have is left out rather than printed
// at the top edge of the page.
std::vector<StatementText> pageTwoTexts(const SortedMailing& mailing,
                                        const StatementPostage& postage);

} // namespace quillan
