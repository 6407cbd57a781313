#pragma once

#include "reports/PrintSession.h"

#include <functional>
#include <string>

namespace quillan {

// What every report shares below its own layout: the copies chosen for the print job, each
// a document of its own, and the "Printing" box that shows the run's page and whose Cancel
// ends the copies.

// Prints once per copy chosen, until the copies are done or Cancel is pressed in the
// "Printing" box, under the busy cursor. printCopy begins its copy's document
// (beginPrintDocument), or none when no page of the copy is in range; the document is ended
// here and the box closed. A copy that fails half-way, or that Exit stopped, leaves no
// half-made print job behind.
void printEachCopy(PrintSession& session, const std::function<void()>& printCopy);

// Begins a document under the title (the printer's own when empty); a printer that will not
// start is an error that names it.
void beginPrintDocument(platform::PrinterDevice& printer, const std::string& title);

// Shows the run's page (session.runPageNumber) in the "Printing" box, or closes the box once
// printing has stopped, and lets a click in the box come through (not where nobody can
// watch the box or press its button).
void servicePrintingBox(PrintSession& session);

} // namespace quillan
