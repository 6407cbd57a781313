#pragma once

#include "app/AppContext.h"
#include "reports/PrintSession.h"

namespace quillan {

// The print session of the program's context: its printer, the release its headings name,
// the folders of the statement forms and the logo, and whether the run is unattended; the
// reports ask through the print dialogs and tell through the notices given.
PrintSession programPrintSession(const AppContext& ctx, PrintJobControl& job, Notices& notices);

} // namespace quillan
