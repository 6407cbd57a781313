#include "reports/ZoneReport.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "reports/QualificationLayout.h"

#include <optional>
#include <utility>

namespace quillan {

namespace {

constexpr const char* ZoneChartWarning =
    "WARNING: There is an error in your zone chart. Some zips not found!";
constexpr int32_t LineHeight = 14;
constexpr int32_t RowMargin = 28;
constexpr int32_t SummaryMargin = 192;

// What a prefix row says of the pieces outside the county: the entry SCF or ADC, zones 1
// and 2 together, or its zone from 3 to 8.
std::optional<std::pair<std::string, int32_t>> zoneLine(const PeriodicalZoneCounts& row) {
    if (row.scf != 0)
        return std::pair<std::string, int32_t>{"SCF", row.scf};
    if (row.adc != 0)
        return std::pair<std::string, int32_t>{"ADC", row.adc};
    if (row.zones[1] != 0 || row.zones[2] != 0)
        return std::pair<std::string, int32_t>{"Zones 1&2", row.zones[1] + row.zones[2]};
    for (size_t zone = 8; zone >= 3; --zone)
        if (row.zones[zone] != 0)
            return std::pair<std::string, int32_t>{"Zone " + std::to_string(zone), row.zones[zone]};
    return std::nullopt;
}

} // namespace

ZoneReport::ZoneReport(ReportPages& pages, const SortedMailing& mailing,
                       const ReportHeading& heading)
    : pages_(pages), mailing_(mailing), classifier_(mailing), heading_(heading) {
    heading_.report = "Report: USPS Zone Report";
    heading_.sortLine = std::string(zoneReportSortLine(mailing.mailClass()));
}

int32_t ZoneReport::printSummary(int32_t y, const PeriodicalZoneCounts& counts,
                                 int32_t runningTotal) {
    pages_.setFont(10, true);
    pages_.text(36, y, "Zone Summary");
    pages_.rightText(216, y, "Pieces");
    pages_.setFont(10);
    std::vector<std::pair<std::string, int32_t>> rows = {
        {"In-County", counts.inCounty},
        {"SCF", counts.scf},
        {"ADC", counts.adc},
        {"Zones 1&2", counts.zones[1] + counts.zones[2]}};
    for (size_t zone = 3; zone <= 8; ++zone)
        rows.emplace_back("Zone " + std::to_string(zone), counts.zones[zone]);
    for (const auto& [label, pieces] : rows) {
        y += LineHeight;
        pages_.text(36, y, label);
        pages_.setFont(10, false, label == "Zone 8");
        pages_.rightText(216, y, intToStr(pieces));
        pages_.setFont(10);
    }
    y += LineHeight;
    pages_.setFont(10, true);
    pages_.text(36, y, zoneTotalLabel(mailing_.mailClass()));
    pages_.rightText(216, y, intToStr(counts.total()));
    if (counts.total() != runningTotal)
        pages_.text(230, y, ZoneChartWarning);
    pages_.setFont(10);
    y += LineHeight;
    pages_.rule(y);
    return y;
}

void ZoneReport::print(int32_t runningTotal) {
    pageBase_ = pages_.pageNumber();
    int32_t y = pages_.takePageBreak(0, [this] { return startPage(); });
    if (pages_.stopped())
        return;
    PeriodicalZoneCounts row;
    const std::vector<ZipGroup>& zips = mailing_.zipGroups();
    for (size_t z = 0; z < zips.size(); ++z) {
        if (z > 0 && zipPrefix(zips[z].zip) != zipPrefix(zips[z - 1].zip)) {
            y = printPrefixRow(y, zipPrefix(zips[z - 1].zip), row);
            row = PeriodicalZoneCounts{};
        }
        classifier_.classify(zips[z], row);
    }
    if (!zips.empty())
        y = printPrefixRow(y, zipPrefix(zips.back().zip), row);
    y += LineHeight;
    pages_.rule(y);
    y = breakPage(y + 28, SummaryMargin);
    printSummary(y, classifyZoneCounts(mailing_), runningTotal);
}

int32_t ZoneReport::startPage() {
    pages_.startPage();
    int32_t y = drawReportHeading(pages_, 72, heading_, pages_.pageNumber() - pageBase_);
    pages_.setFont(10, true);
    pages_.text(36, y, "3-Digit Zip Code");
    pages_.text(125, y, "Zone");
    pages_.rightText(250, y, "Pieces");
    pages_.setFont(10);
    return y + 20;
}

int32_t ZoneReport::breakPage(int32_t y, int32_t margin) {
    return pages_.breakPage(y, margin, [this] { return startPage(); });
}

// The prefix shares its line with the first thing said of it.
int32_t ZoneReport::printPrefixRow(int32_t y, int prefix, const PeriodicalZoneCounts& row) {
    y = breakPage(y + LineHeight, RowMargin);
    pages_.text(36, y, zeroPad(prefix, 3));
    y -= LineHeight;
    if (row.total() == 0)
        y = printRowLine(y, "Zone Missing", 0);
    if (row.inCounty != 0)
        y = printRowLine(y, "In-County", row.inCounty);
    if (auto line = zoneLine(row))
        y = printRowLine(y, line->first, line->second);
    return y;
}

int32_t ZoneReport::printRowLine(int32_t y, std::string_view label, int32_t pieces) {
    y = breakPage(y + LineHeight, RowMargin);
    pages_.text(125, y, label);
    if (pieces != 0)
        pages_.rightText(250, y, intToStr(pieces));
    return y;
}

} // namespace quillan
