#pragma once

#include "core/SortedMailing.h"
#include "reports/FormLayout.h"
#include "reports/StatementText.h"

#include <string>
#include <vector>

namespace quillan {

// What the first page of the statement says of the mailing, at the places of its form:
// the permit holder (for Periodicals the publisher's city and the publication), the post
// office, permit and payment, the processing category, the date, the piece weight, the
// pieces and their weight, the trays or sacks, the weight class, the CASS date, the signer
// and the footer.
struct StatementHeader {
    std::string today;       // the date of mailing
    std::string programLine; // "Quillan Windows Version ... - Released ..."
};

std::vector<StatementText> pageOneFieldTexts(const SortedMailing& mailing, const FormLayout& layout,
                                             const StatementHeader& header);

// "Facsimile" and the program line, at the foot of both pages.
std::vector<StatementText> footerTexts(const FormLayout& layout, const StatementHeader& header);

} // namespace quillan
