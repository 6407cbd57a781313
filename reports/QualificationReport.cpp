#include "reports/QualificationReport.h"

#include "core/Convert.h"
#include "core/postage/EntryOffice.h"
#include "reports/QualificationLines.h"
#include "reports/TextFitting.h"

namespace quillan {

namespace {

constexpr const char* TooFewWarning =
    "THIS REPORT FOR DEMONSTRATION PURPOSES ONLY. - TOO FEW PIECES FOR PRESORT RATES.";
constexpr int32_t RunningTotalX = 540;
constexpr int32_t LineHeight = 14;
constexpr int32_t BodyMargin = 44;
constexpr int BodyTextSize = 10;
// The room kept between a group's destination and its zones.
constexpr int32_t ZoneGap = 4;

ReportHeading qualificationHeading(const PrintSession& session, const SortedMailing& m) {
    const MailerSettings& mailer = m.mailer();
    bool periodicals = m.mailClass().isPeriodicals();
    ReportHeading h;
    h.version = "Quillan Win v" + session.programVersion + " released " + session.ratesDate;
    h.report = "Report: USPS Qualification Report";
    h.mailer = periodicals ? "Title: " + mailer.at(MailerSettings::PublicationName)
                           : "Mailer: " + mailer.at(MailerSettings::Company);
    h.entry = "Entry: " + EntryOfficeName(m);
    h.permit = (periodicals ? "Pub. #: " : "Mail ID: ") + mailer.at(MailerSettings::PermitId);
    h.sortLine = std::string(qualificationSortLine(m.mailClass()));
    return h;
}

bool hasMixedGroups(const SortedMailing& m) {
    for (const SortGroup& group : m.sortGroups())
        if (group.kind == GroupKind::Mixed)
            return true;
    return false;
}

} // namespace

void PrintQualificationReport(PrintSession& session, const SortedMailing& mailing) {
    if (!session.askToPrint("Ready to print rate qualification report.",
                            AfterSortReport::Qualification))
        return;
    ReportPages pages(session);
    // Everything read from the settings and postal lists is read before the first sheet,
    // so that a line that cannot be read stops the report before it begins.
    QualificationReport report(session, pages, mailing);
    pages.printCopies("Quillan Qualification Report", [&report] { report.printCopy(); });
}

QualificationReport::QualificationReport(const PrintSession& session, ReportPages& pages,
                                         const SortedMailing& mailing)
    : pages_(pages), mailing_(mailing), mailClass_(mailing.mailClass()),
      warning_(tooFewForPresortRates(mailing)), heading_(qualificationHeading(session, mailing)),
      headings_(qualificationHeadings(mailClass_, mailing.mailType().mmTrays())),
      columns_(qualificationLineColumns(mailClass_)) {
    if (hasMixedGroups(mailing))
        mixedDestination_ = mixedGroupDestination(mailing);
    if (mailClass_.isPeriodicals())
        zoneReport_.emplace(pages, mailing, heading_);
}

void QualificationReport::printCopy() {
    totals_ = RateTotals{};
    linePrinted_ = false;
    zones_ = PeriodicalZoneCounts{};
    int32_t y = startPage();
    for (size_t k = 0; k < mailing_.containers().size() && !pages_.stopped(); ++k)
        y = printContainer(k, breakPage(y, BodyMargin));
    if (pages_.stopped())
        return;
    pages_.rule(y);
    y += LineHeight;
    // The totals and the summary under them stay together on one page.
    if (pages_.runsOff(y, 108) || (mailClass_.isCoSacked() && pages_.runsOff(y, 200)))
        y = pages_.takePageBreak(y, [this] { return startPage(); });
    if (pages_.stopped())
        return;
    y = printRateSummary(printTotals(y));
    if (!zoneReport_)
        return;
    y = breakPage(y + 28, 192);
    zoneReport_->printSummary(y, zones_, totals_.running);
    zoneReport_->print(totals_.running);
}

int32_t QualificationReport::breakPage(int32_t y, int32_t margin) {
    return pages_.breakPage(y, margin, [this] { return startPage(); });
}

int32_t QualificationReport::startPage() {
    pages_.startPage();
    int32_t y = 72;
    if (warning_) {
        pages_.setFont(10, true);
        pages_.text(18, y, TooFewWarning);
        pages_.setFont(10);
        y += 28;
    }
    return drawColumnHeadings(drawReportHeading(pages_, y, heading_, pages_.pageNumber()));
}

int32_t QualificationReport::drawColumnHeadings(int32_t y) {
    pages_.setFont(10, true);
    for (const ColumnHeading& h : headings_) {
        int32_t rowY = y + (h.row - 1) * LineHeight;
        if (h.centred)
            pages_.centredText(h.x, rowY, h.text);
        else
            pages_.rightText(h.x, rowY, h.text);
    }
    pages_.setFont(10);
    return y + LineHeight + 20;
}

// The tray or sack columns share the line of its first group. A tray or sack without
// groups has no line of its own to share, so it is left out rather than printed over the
// next one.
int32_t QualificationReport::printContainer(size_t k, int32_t y) {
    const std::vector<int32_t>& groups = mailing_.sortGroupsIn(k);
    if (groups.empty() || pages_.stopped())
        return y;
    ContainerColumns c = containerColumns(mailing_, k);
    pages_.rightText(columns_.number, y, c.number);
    if (!c.size.empty())
        pages_.rightText(columns_.size, y, c.size);
    pages_.rightText(columns_.level, y, c.level);
    pages_.rightText(columns_.zip, y, c.zip);
    for (int32_t g : groups) {
        y = breakPage(y, BodyMargin);
        if (pages_.stopped())
            break;
        y = printGroup(static_cast<size_t>(g), y);
    }
    return y;
}

int32_t QualificationReport::printGroup(size_t g, int32_t y) {
    pages_.rightText(columns_.destination, y, groupDestination(mailing_, g, mixedDestination_));
    int32_t next = y + LineHeight;
    if (zoneReport_) {
        PeriodicalZoneCounts counts = classifyZoneCounts(mailing_, g);
        zones_ += counts;
        next = printZones(counts.summary(), y);
    }
    int32_t pieces = mailing_.sortGroups()[g].pieces;
    RateColumn column = qualifyingColumn(mailing_, g);
    totals_[column] += pieces;
    totals_.running += pieces;
    linePrinted_ = true;
    pages_.rightText(rateColumnX(mailClass_, column), y, intToStr(pieces));
    pages_.rightText(RunningTotalX, y, intToStr(totals_.running));
    return next;
}

// A group's zones end at their column and keep clear of its destination: a long list is
// shrunk as a tag's texts are, and past that broken after a "/" onto the lines below.
// Returns where the next line goes.
int32_t QualificationReport::printZones(const std::string& zones, int32_t y) {
    int32_t width = pages_.dotsAcross(columns_.zone - columns_.destination - ZoneGap);
    FittedLines fitted = fitOrBreakAfter(
        '/', zones, BodyTextSize, SmallestTagTextSize, width,
        [this](const std::string& text, int size) { return pages_.textWidthAt(text, size); });
    pages_.setFont(fitted.size);
    for (const std::string& line : fitted.lines) {
        pages_.rightText(columns_.zone, y, line);
        y += LineHeight;
    }
    pages_.setFont(BodyTextSize);
    return y;
}

int32_t QualificationReport::printTotals(int32_t y) {
    pages_.setFont(10, true);
    pages_.text(36, y, "TOTALS");
    pages_.setFont(10);
    for (RateColumn column : totalsColumns(mailClass_))
        pages_.rightText(rateColumnX(mailClass_, column), y, intToStr(totals_[column]));
    pages_.rightText(RunningTotalX, y, linePrinted_ ? intToStr(totals_.running) : "");
    return y + 28;
}

int32_t QualificationReport::printRateSummary(int32_t y) {
    pages_.setFont(10, true);
    pages_.text(36, y, "Rate Summary");
    pages_.rightText(216, y, "Pieces");
    y += LineHeight;
    std::vector<SummaryRow> rows = rateSummaryRows(mailClass_, totals_);
    for (size_t i = 0; i < rows.size(); ++i) {
        const SummaryRow& row = rows[i];
        bool beforeTotal = i + 1 < rows.size() && rows[i + 1].total;
        pages_.setFont(10, row.total);
        pages_.text(36, y, row.label);
        pages_.setFont(10, row.total, beforeTotal);
        pages_.rightText(216, y, intToStr(row.figure));
        y += row.spaceAfter ? 2 * LineHeight : LineHeight;
    }
    pages_.setFont(10);
    pages_.rule(y);
    return y;
}

} // namespace quillan
