#pragma once

#include "core/SortedMailing.h"
#include "reports/PrintSession.h"

namespace quillan {

// Prints the postage statement of a finished sort as a facsimile of its postal form: for
// each copy chosen, page 1 with the mailing, the postage totals and (meter or stamps) the
// affixed-postage box, and page 2 with every rate line in its row and the section totals.
// Pages are numbered 1 and 2 in the run (session.runPageNumber); a page outside the
// chosen range is computed but not drawn, and a copy with no page in range begins no
// document. Cancel in the "Printing" box ends the copies after the current one.
//
// Everything that can fail (a rates.dat line, the form's coordinate file or a page image
// that will be drawn) is read before the first document begins, so a failure is one error
// and no half-printed statement.
void PrintPostageStatement(PrintSession& session, const SortedMailing& mailing);

} // namespace quillan
