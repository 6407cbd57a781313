#pragma once

#include "core/SortedMailing.h"
#include "core/postage/StatementPostage.h"
#include "reports/FormLayout.h"
#include "reports/StatementText.h"

#include <vector>

namespace quillan {

// The postage on the first page: the block's total to four decimals beside its part of
// the postage box and the statement total to two decimals, then for meter or stamps the
// affixed-postage box; for Periodicals the zone table and the three totals of the charges.
std::vector<StatementText> pageOneTotalTexts(const SortedMailing& mailing,
                                             const StatementPostage& postage,
                                             const FormLayout& layout);

// The affixed-postage box: the tick of the correct postage, or the tick of the lowest rate
// with the pieces, that rate, the postage it makes and the postage still due. With no
// piece at any rate there is no lowest rate, and its figures stay empty.
std::vector<StatementText> affixedPostageTexts(const SortedMailing& mailing,
                                               const StatementPostage& postage,
                                               const FormLayout& layout);

} // namespace quillan
