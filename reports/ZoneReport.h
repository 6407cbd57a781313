#pragma once

#include "core/SortedMailing.h"
#include "core/postage/PeriodicalZoneClassifier.h"
#include "reports/ReportHeading.h"
#include "reports/ReportPages.h"

#include <cstdint>
#include <string>

namespace quillan {

// The Periodicals end of the qualification report: the zone summary, and the zone report
// on pages of its own, numbered from 1, with a row group per 3-digit ZIP prefix telling how
// its pieces were classified (in-county, entry SCF or ADC, zones) and flagging prefixes the
// zone chart has no zone for, then the zone summary over all pieces.
class ZoneReport {
public:
    // `heading` gives the texts the two reports share (version, entry office, title and
    // publication number).
    ZoneReport(ReportPages& pages, const SortedMailing& mailing, const ReportHeading& heading);

    // The zone summary from y (its heading line) down to its closing rule; returns the y of
    // the rule. The total is checked against the report's running total: a difference
    // means the zone chart lacks some prefix.
    int32_t printSummary(int32_t y, const PeriodicalZoneCounts& counts, int32_t runningTotal);

    // The zone report pages, begun on a new page once the qualification report is done.
    void print(int32_t runningTotal);

private:
    int32_t startPage();
    int32_t printPrefixRow(int32_t y, int prefix, const PeriodicalZoneCounts& row);
    int32_t printRowLine(int32_t y, std::string_view label, int32_t pieces);
    int32_t breakPage(int32_t y, int32_t margin);

    ReportPages& pages_;
    const SortedMailing& mailing_;
    PeriodicalZoneClassifier classifier_;
    ReportHeading heading_;
    int32_t pageBase_ = 0;
};

} // namespace quillan
