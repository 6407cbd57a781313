#pragma once

#include "reports/ReportPages.h"

#include <cstdint>
#include <string>

namespace quillan {

// The lines every page of the qualification and zone reports begins with, below the
// version line: what report it is, for whom, entered where, prepared under which rules.
struct ReportHeading {
    std::string version; // "Quillan Win v6.2.4 released 4/1/03"
    std::string report;  // "Report: USPS Qualification Report"
    std::string mailer;  // "Mailer: ..." or "Title: ..."
    std::string entry;   // "Entry: ..."
    std::string permit;  // "Mail ID: ..." or "Pub. #: ..."
    std::string sortLine;
};

// Draws the heading from y down, with the page number and today's date, and the rule under
// it; returns the y of the line below the rule (y + 70).
int32_t drawReportHeading(ReportPages& pages, int32_t y, const ReportHeading& heading,
                          int32_t pageNumber);

} // namespace quillan
