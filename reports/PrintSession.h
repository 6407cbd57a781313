#pragma once

#include "core/Notices.h"
#include "core/settings/Preferences.h"
#include "platform/print/PrinterDevice.h"
#include "reports/PrintJobControl.h"

#include <cstdint>
#include <string>

namespace quillan {

// What the reports and printouts print through, made by the program for its whole run: the
// printer, the print dialogs and the person's notices, what the headings name and where the
// pictures are; and what the reports of one print run share: the run's page number (right
// after a sort the page numbers run on from report to report) and whether printing stopped.
struct PrintSession {
    platform::PrinterDevice& printer;
    PrintJobControl& job;
    Notices& notices;

    // The release the headings name ("6.2.4", released "4/1/03").
    std::string programVersion;
    std::string ratesDate;
    // The statement forms ("bitmaps/" of the program folder), and the data folder, which
    // holds the logo.
    std::string formsFolder;
    std::string dataFolder;
    // An unattended run ("NOSTOP"): nobody is asked anything.
    bool unattended = false;

    int32_t runPageNumber = 0;
    // The reports print right after a sort, in the range chosen with the after-sort choice.
    bool justSorted = false;
    // The report has passed the To page, or was cancelled: nothing more is drawn.
    bool stopPrinting = false;

    // Cancel pressed in the "Printing" box, or the whole command being stopped (Exit, a
    // termination signal).
    bool cancelled() const;
    // Whether to print a report of the after-sort run: right after a sort its tick in the
    // after-sort choice answers; otherwise the person is asked under the caption.
    bool askToPrint(const std::string& caption, AfterSortReport report);
};

} // namespace quillan
