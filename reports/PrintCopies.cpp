#include "reports/PrintCopies.h"

#include "platform/Interruption.h"

#include <stdexcept>

namespace quillan {

void printEachCopy(AppContext& ctx, PrintJobControl& job, const std::function<void()>& printCopy) {
    platform::Ui& ui = ctx.platform.ui;
    platform::PrinterDevice& printer = ctx.platform.printer;
    ui.setBusyCursor(true);
    ctx.flags.printCancelled = false;
    try {
        for (int copy = 1; copy <= job.copyCount(); ++copy) {
            printCopy();
            if (printer.printing()) {
                if (!printer.endDoc())
                    throw std::runtime_error(
                        "The printer \"" + printer.printerName() +
                        "\" could not finish printing: " + printer.lastError() + ".");
                job.documentPrinted(printer.lastOutput());
            }
            job.closePrintingBox();
            if (ctx.flags.printCancelled)
                break;
        }
    } catch (...) {
        if (printer.printing())
            printer.abortDoc();
        job.closePrintingBox();
        ui.setBusyCursor(false);
        throw;
    }
    ui.setBusyCursor(false);
}

void beginPrintDocument(platform::PrinterDevice& printer, const std::string& title) {
    if (!title.empty())
        printer.setTitle(title);
    if (printer.beginDoc())
        return;
    const std::string why = printer.lastError();
    throw std::runtime_error("The printer \"" + printer.printerName() +
                             "\" could not start printing" +
                             (why.empty() ? "." : ": " + why + "."));
}

void servicePrintingBox(AppContext& ctx, PrintJobControl& job) {
    // The box is there to be watched and its Cancel pressed between pages; without a display
    // nobody can, and keeping it current would cost every page its drawing.
    if (ctx.platform.ui.hasDisplay()) {
        if (ctx.flags.stopPrinting)
            job.closePrintingBox();
        else
            job.showPrintingPage(ctx.counters.runPageNumber);
        ctx.platform.ui.processMessages();
    }
    // A stop of the whole command (Exit, a termination signal) cancels as the box's button.
    if (platform::interruptionRequested())
        ctx.flags.printCancelled = true;
}

} // namespace quillan
