#pragma once

#include "core/SortedMailing.h"

#include <string>

namespace quillan {

// The lines of the summary page that describe the mailing as it was set up: what the mailer
// copies onto the postal form, and which parts of the form's back the postage computation
// fills. Each reads the settings the mailing was sorted under; a settings line that must be a
// number and is not throws ConvertError naming it.

// "Automated Standard - Letters - Regular - mm tray (600 pcs. max.) - Minimum weight".
std::string mailingSettingsLine(const SortedMailing& mailing);
// "Originating Zip: 75201 - SCF entry", with the Periodicals settings after it.
std::string originLine(const SortedMailing& mailing);
// Which postal form to use: "(Use Form 3541a.)".
std::string formLine(const SortedMailing& mailing);
// "Letters", "Flats", "Automation Flats (DMM C820)"...
std::string processingCategory(MailClass mailClass);
// What a sacked Standard flats mailing is sacked by: "125 Pcs." or "15 Lbs.".
std::string sackingBasis(const SortedMailing& mailing);
// The parts of the form's back the computation fills: "A.", "B.", "D.", "E.", "J." or
// "A and B.". "D." and "J." are priced by the piece and the pound.
std::string formPart(const SortedMailing& mailing);
// "0.2188": the weight of one copy in pounds, to four decimals.
std::string copyWeightText(double ounces);

// The containers line, and for mm trays the split into one-foot and two-foot trays that
// prints beside it (empty otherwise).
struct ContainersLine {
    std::string count;
    std::string trays;
};
ContainersLine containersLine(const SortedMailing& mailing);

} // namespace quillan
