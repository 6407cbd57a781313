#include "app/ProgramPrintSession.h"

namespace quillan {

PrintSession programPrintSession(const AppContext& ctx, PrintJobControl& job, Notices& notices) {
    return PrintSession{
        .printer = ctx.platform.printer,
        .job = job,
        .notices = notices,
        .programVersion = ctx.programVersion,
        .ratesDate = ctx.ratesDate,
        .formsFolder = ctx.paths.programFolder + "bitmaps/",
        .dataFolder = ctx.dataFolder,
        .unattended = ctx.runMode == RunMode::Unattended,
    };
}

} // namespace quillan
