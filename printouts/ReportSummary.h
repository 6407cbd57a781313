#pragma once

#include "core/SortedMailing.h"
#include "printouts/PageLayout.h"
#include "printouts/SummaryPostage.h"

namespace quillan {

// The first page of the mail preparation instructions: title, logo box and date, the
// settings the mailing was sorted under, the note on rejected ZIP codes, the figures the
// mailer copies onto the postal form and the postage computation. Periodicals go on to a
// second page, after the pound-rate table, with the rest of their postage. The page (and the
// second) is always laid out, so that the pages after it are numbered as in a full print,
// and drawn only when in range. The pen is left after the last line.
void PrintInstructionsSummary(PageLayout& page, const SortedMailing& mailing,
                              const SummaryPostage& postage);

// The first page of the verification report: title, logo box and date and the note on
// rejected ZIP codes; the pen is left where their list begins.
void PrintVerificationSummary(PageLayout& page);

// The logo picture beside the data files; a missing one leaves its box empty.
inline constexpr const char* LogoFileName = "stampbw.bmp";

} // namespace quillan
