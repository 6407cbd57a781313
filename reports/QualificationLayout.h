#pragma once

#include "core/MailClass.h"
#include "core/SortedMailing.h"
#include "reports/RateQualification.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillan {

// Where the qualification report puts things, by mail class. Positions are in points.

// A column heading in bold: row 1 or 2 of the headings, right-aligned at x, or centred on
// it ("Rates").
struct ColumnHeading {
    int32_t x;
    int row;
    std::string_view text;
    bool centred = false;
};
std::vector<ColumnHeading> qualificationHeadings(MailClass mailClass, bool mmTrays);

// "Sort: Standard Mail, DMM M610" and the like: the rules the mailing was prepared under.
std::string_view qualificationSortLine(MailClass mailClass);

// The sort line of the zone report: "Sort: Periodical Mail, M200" and the like.
std::string_view zoneReportSortLine(MailClass mailClass);

// Where the class prints the tray or sack columns and the group's destination and zone.
struct LineColumns {
    int32_t number = 54;
    int32_t size = 108;
    int32_t level = 162;
    int32_t zip = 216;
    int32_t destination = 270;
    int32_t zone = 378;
};
LineColumns qualificationLineColumns(MailClass mailClass);

// A row of the rate summary. The figure of the row before a total is underlined; a total
// row is bold; some totals leave a line of space after them.
struct SummaryRow {
    std::string_view label;
    int32_t figure;
    bool total = false;
    bool spaceAfter = false;
};
std::vector<SummaryRow> rateSummaryRows(MailClass mailClass, const RateTotals& totals);

// The columns of the TOTALS row: every rate column the class prints.
std::vector<RateColumn> totalsColumns(MailClass mailClass);

// "TOTAL Automation", "TOTAL Co-Sacked" or "TOTAL Nonauto.": the total row of the zone
// summary.
std::string_view zoneTotalLabel(MailClass mailClass);

// Whether the mailing is too small for presort rates, so that the report is only a
// demonstration: under 200 pieces (unless they weigh 50 pounds at a stated weight), or
// First-Class under 500. Periodicals have no minimum.
bool tooFewForPresortRates(const SortedMailing& mailing);

} // namespace quillan
