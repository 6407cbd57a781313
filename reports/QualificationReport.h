#pragma once

#include "core/SortedMailing.h"
#include "reports/PrintSession.h"
#include "reports/QualificationLayout.h"
#include "reports/RateQualification.h"
#include "reports/ReportHeading.h"
#include "reports/ReportPages.h"
#include "reports/ZoneReport.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillan {

// Prints the rate qualification report of a sorted mailing: every tray or sack with its
// packages or package groups, each group's pieces in the rate column it qualifies for, a
// running total, the TOTALS row and the rate summary; for Periodicals then the zone
// summary and the zone report. Right after a sort (session.justSorted) it prints when
// ticked in the after-sort choice, in the range already chosen; otherwise it asks for the
// range and copies first. Reads the mailing only.
void PrintQualificationReport(PrintSession& session, const SortedMailing& mailing);

// One copy of the report, laid out page by page.
class QualificationReport {
public:
    QualificationReport(const PrintSession& session, ReportPages& pages,
                        const SortedMailing& mailing);

    void printCopy();

private:
    int32_t startPage();
    int32_t drawColumnHeadings(int32_t y);
    int32_t printContainer(size_t k, int32_t y);
    int32_t printGroup(size_t g, int32_t y);
    int32_t printZones(const std::string& zones, int32_t y);
    int32_t printTotals(int32_t y);
    int32_t printRateSummary(int32_t y);
    // A page break with the report's own header.
    int32_t breakPage(int32_t y, int32_t margin);

    ReportPages& pages_;
    const SortedMailing& mailing_;
    MailClass mailClass_;
    bool warning_;
    ReportHeading heading_;
    std::vector<ColumnHeading> headings_;
    LineColumns columns_;
    std::string mixedDestination_;
    std::optional<ZoneReport> zoneReport_;

    RateTotals totals_;
    bool linePrinted_ = false;
    PeriodicalZoneCounts zones_;
};

} // namespace quillan
