#include "reports/ReportHeading.h"

#include "core/Convert.h"
#include "core/ShortDate.h"

namespace quillan {

int32_t drawReportHeading(ReportPages& pages, int32_t y, const ReportHeading& heading,
                          int32_t pageNumber) {
    pages.text(350, y, heading.version);
    y += 14;
    pages.text(36, y, heading.report);
    pages.text(250, y, heading.mailer);
    pages.text(500, y, "Page " + intToStr(pageNumber));
    y += 14;
    pages.text(36, y, heading.entry);
    pages.text(250, y, heading.permit);
    y += 14;
    pages.text(36, y, heading.sortLine);
    pages.text(250, y, "Date: " + todayShortDate());
    y += 14;
    pages.rule(y);
    return y + 14;
}

} // namespace quillan
