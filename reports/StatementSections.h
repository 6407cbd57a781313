#pragma once

#include <optional>
#include <vector>

namespace quillan {

// The rate lines of the statement print into the rows of lettered sections of the form's
// second page. The rows sit at different heights on the permit-imprint forms and on the
// affixed-postage forms, and on the affixed forms again for Regular and Nonprofit rates.
enum class StatementPayment { Permit, AffixedRegular, AffixedNonprofit };

// Right edges, in points, of a section's quantity, amount and rate columns; rateX is 0 for a
// section without a rate column.
struct SectionColumns {
    int quantityX = 0;
    int amountX = 0;
    int rateX = 0;
};

// Sections A, B, D, E, F, G, J and P; nothing for any other letter.
std::optional<SectionColumns> statementSectionColumns(char section);

// The top of a row's text in points; 0 (the top edge of the page) for a row the section
// does not have under that payment.
int statementSectionRowY(char section, int row, StatementPayment payment);

// The rows a section has under a payment, in ascending order.
std::vector<int> statementSectionRows(char section, StatementPayment payment);

// The size in points a row's figures print at: 8, or less where the form's rows stand so
// close that a figure would run into the one above or below it.
int statementSectionRowSize(char section, int row, StatementPayment payment);

} // namespace quillan
