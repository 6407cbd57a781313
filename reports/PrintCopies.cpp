#include "reports/PrintCopies.h"

#include "core/BusyCursor.h"
#include "platform/Interruption.h"

#include <stdexcept>

namespace quillan {

void printEachCopy(PrintSession& session, const std::function<void()>& printCopy) {
    platform::PrinterDevice& printer = session.printer;
    PrintJobControl& job = session.job;
    BusyCursor busy(session.notices);
    job.clearCancel();
    try {
        for (int copy = 1; copy <= job.copyCount(); ++copy) {
            printCopy();
            // A document that Exit or a termination signal stopped is not kept: under the
            // document's name it would pass for the whole of it, and nobody is left to be
            // told. Cancel in the Printing box ends it as it is: the person chose to stop it
            // there and keeps what was printed.
            if (printer.printing() && platform::interruptionRequested())
                printer.abortDoc();
            if (printer.printing()) {
                if (!printer.endDoc())
                    throw std::runtime_error(
                        "The printer \"" + printer.printerName() +
                        "\" could not finish printing: " + printer.lastError() + ".");
                job.documentPrinted(printer.lastOutput());
            }
            job.closePrintingBox();
            if (session.cancelled())
                break;
        }
    } catch (...) {
        if (printer.printing())
            printer.abortDoc();
        job.closePrintingBox();
        throw;
    }
}

void beginPrintDocument(platform::PrinterDevice& printer, const std::string& title) {
    if (!title.empty())
        printer.setTitle(title);
    if (printer.beginDoc())
        return;
    const std::string why = printer.lastError();
    // Several documents may fail in one run: each failure names its own.
    throw std::runtime_error("The printer \"" + printer.printerName() +
                             "\" could not start printing" +
                             (title.empty() ? std::string() : " \"" + title + "\"") +
                             (why.empty() ? "." : ": " + why + "."));
}

void servicePrintingBox(PrintSession& session) {
    // The box is there to be watched and its Cancel pressed between pages; without a display
    // nobody can, and keeping it current would cost every page its drawing.
    PrintJobControl& job = session.job;
    if (!job.printingBoxWatched())
        return;
    if (session.stopPrinting)
        job.closePrintingBox();
    else
        job.showPrintingPage(session.runPageNumber);
    job.processPendingInput();
}

} // namespace quillan
