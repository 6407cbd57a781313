#include "reports/PrintSession.h"

#include "platform/Interruption.h"

namespace quillan {

bool PrintSession::cancelled() const {
    return job.cancelRequested() || platform::interruptionRequested();
}

bool PrintSession::askToPrint(const std::string& caption, AfterSortReport report) {
    return job.askToPrint(caption, justSorted ? std::optional(report) : std::nullopt);
}

} // namespace quillan
