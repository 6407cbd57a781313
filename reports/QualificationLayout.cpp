#include "reports/QualificationLayout.h"

#include "core/MailingMinimums.h"

namespace quillan {

namespace {

using C = MailClass;

std::vector<ColumnHeading> coSackedHeadings(MailClass c) {
    bool periodicals = c.isPeriodicals();
    std::vector<ColumnHeading> h = {{54, 1, "Sack"}, {54, 2, "#"},     {108, 1, "Sack"},
                                    {108, 2, "Lvl"}, {162, 1, "Sack"}, {162, 2, "Zip"},
                                    {216, 1, "Pkg"}, {216, 2, "Dest"}};
    if (periodicals)
        h.insert(h.end(), {{270, 2, "Zone"}, {306, 2, "5B"}});
    h.insert(h.end(), {{342, 2, periodicals ? "3B" : "3/5B"}, {378, 2, "BB"}});
    h.push_back({400, 1, "Rates", true});
    if (periodicals)
        h.push_back({414, 2, "5D"});
    h.insert(h.end(), {{450, 2, periodicals ? "3D" : "3/5"}, {486, 2, "BS"}});
    return h;
}

std::string_view threeDigitHeading(MailClass c) {
    if (c.isAadcAutomationLetters())
        return "AB";
    if (c.value() == C::RAF)
        return "3/5B";
    if (c.isPeriodicals())
        return c.isNonautomation() ? "3D" : "3B";
    return "3/5";
}

std::string_view basicHeading(MailClass c) {
    if (c.isAadcAutomationLetters())
        return "MB";
    if (c.isAutomation())
        return "BB";
    return "BS";
}

std::vector<ColumnHeading> plainHeadings(MailClass c, bool mmTrays) {
    std::string_view word = c.isFlats() ? "Sack" : "Tray";
    std::vector<ColumnHeading> h = {{54, 1, word}, {54, 2, "#"}};
    if (c.isLetters() && mmTrays)
        h.insert(h.end(), {{108, 1, word}, {108, 2, "Size"}});
    h.insert(h.end(), {{162, 1, word},
                       {162, 2, "Lvl"},
                       {216, 1, word},
                       {216, 2, "Zip"},
                       {270, 1, c.isTraysOnlyLetters() ? "Group" : "Pkg"},
                       {270, 2, "Dest"}});
    if (c.isPeriodicals())
        h.insert(h.end(), {{378, 2, "Zone"},
                           {414, 1, "Rates", true},
                           {414, 2, c.isNonautomation() ? "5D" : "5B"}});
    else if (c.isAadcAutomationLetters())
        h.insert(h.end(), {{378, 2, "5B"}, {414, 1, "Rates", true}, {414, 2, "3B"}});
    else
        h.push_back({444, 1, "Rates", true});
    h.insert(h.end(), {{450, 2, threeDigitHeading(c)}, {486, 2, basicHeading(c)}});
    return h;
}

std::vector<SummaryRow> coSackedSummary(MailClass c, const RateTotals& t) {
    using R = RateColumn;
    bool periodicals = c.isPeriodicals();
    std::vector<SummaryRow> rows;
    if (periodicals)
        rows.insert(rows.end(), {{"Automation 5-Digit (5B)", t[R::CoSackedFiveDigit]},
                                 {"Automation 3-Digit (3B)", t[R::CoSackedThreeDigit]}});
    else
        rows.push_back({"Automation 3/5-Digit (3/5B)", t[R::CoSackedThreeFive]});
    rows.insert(rows.end(), {{"Automation Basic (BB)", t[R::CoSackedBasic]},
                             {"TOTAL Automation", t.coSackedAutomation(), true, true}});
    if (periodicals)
        rows.insert(rows.end(), {{"Nonauto 5-Digit (5D)", t[R::FiveDigit]},
                                 {"Nonauto 3-Digit (3D)", t[R::ThreeDigit]}});
    else
        rows.push_back({"Nonauto 3/5-Digit (3/5)", t[R::ThreeFive]});
    rows.insert(rows.end(), {{"Nonauto Basic (BS)", t[R::Basic]},
                             {"TOTAL Nonauto", t.coSackedNonautomation(), true, true},
                             {"TOTAL Co-Sacked", t.running, true}});
    return rows;
}

} // namespace

std::vector<ColumnHeading> qualificationHeadings(MailClass mailClass, bool mmTrays) {
    std::vector<ColumnHeading> h =
        mailClass.isCoSacked() ? coSackedHeadings(mailClass) : plainHeadings(mailClass, mmTrays);
    h.insert(h.end(), {{540, 1, "Running"}, {540, 2, "Total"}});
    return h;
}

std::string_view qualificationSortLine(MailClass mailClass) {
    switch (mailClass.value()) {
    case C::PNAL:
    case C::PNAF:
        return "Sort: Periodical Mail, DMM M210";
    case C::RAL:
        return "Sort: Standard Mail, DMM M810";
    case C::FAL:
        return "Sort: First Class, DMM M810";
    case C::RAF:
        return "Sort: Standard Mail, DMM M820";
    case C::PAL:
        return "Sort: Periodical Mail, DMM M810";
    case C::PAF:
        return "Sort: Periodical Mail, DMM M820";
    case C::RCOF:
        return "Sort: Standard Mail, DMM M910";
    case C::PCOF:
        return "Sort: Periodical Mail, DMM M910";
    default:
        return "Sort: Standard Mail, DMM M610";
    }
}

std::string_view zoneReportSortLine(MailClass mailClass) {
    switch (mailClass.value()) {
    case C::PAL:
        return "Sort: Periodical Mail, M810";
    case C::PAF:
        return "Sort: Periodical Mail, M820";
    case C::PCOF:
        return "Sort: Periodical Mail, M910";
    default:
        return "Sort: Periodical Mail, M200";
    }
}

LineColumns qualificationLineColumns(MailClass mailClass) {
    if (mailClass.isCoSacked())
        return {54, 0, 108, 162, 216, 270};
    return {};
}

std::vector<SummaryRow> rateSummaryRows(MailClass mailClass, const RateTotals& t) {
    using R = RateColumn;
    if (mailClass.isCoSacked())
        return coSackedSummary(mailClass, t);
    if (mailClass.isAadcAutomationLetters())
        return {{"Automation 5-Digit (5B)", t[R::FiveDigit]},
                {"Automation 3-Digit (3B)", t[R::ThreeDigit]},
                {"Automation AADC (AB)", t[R::Aadc]},
                {"Automation Mixed AADC (MB)", t[R::Basic]},
                {"TOTAL Automation", t.running, true}};
    if (mailClass.value() == C::RAF)
        return {{"Automation 3/5-Digit (3/5B)", t[R::ThreeFive]},
                {"Automation Basic (BB)", t[R::Basic]},
                {"TOTAL Automation", t.running, true}};
    if (mailClass.isPeriodicals() && mailClass.isAutomation())
        return {{"Automation 5-Digit (5B)", t[R::FiveDigit]},
                {"Automation 3-Digit (3B)", t[R::ThreeDigit]},
                {"Automation Basic (BB)", t[R::Basic]},
                {"TOTAL Automation", t.running, true}};
    if (mailClass.isPeriodicals())
        return {{"5-Digit (5D)", t[R::FiveDigit]},
                {"3-Digit (3D)", t[R::ThreeDigit]},
                {"Basic (BS)", t[R::Basic]},
                {"TOTAL Nonauto.", t.running, true}};
    return {{"3/5-Digit (3/5)", t[R::ThreeFive]},
            {"Basic (BS)", t[R::Basic]},
            {"TOTAL Nonauto.", t.running, true}};
}

std::vector<RateColumn> totalsColumns(MailClass mailClass) {
    using R = RateColumn;
    std::vector<RateColumn> columns;
    if (mailClass.isCoSacked()) {
        if (mailClass.isPeriodicals())
            columns.insert(columns.end(), {R::CoSackedFiveDigit, R::CoSackedThreeDigit});
        else
            columns.push_back(R::CoSackedThreeFive);
        columns.push_back(R::CoSackedBasic);
    }
    if (mailClass.isPeriodicals() || mailClass.isAadcAutomationLetters())
        columns.insert(columns.end(), {R::FiveDigit, R::ThreeDigit});
    else
        columns.push_back(R::ThreeFive);
    if (mailClass.isAadcAutomationLetters())
        columns.push_back(R::Aadc);
    columns.push_back(R::Basic);
    return columns;
}

std::string_view zoneTotalLabel(MailClass mailClass) {
    if (mailClass.isCoSacked())
        return "TOTAL Co-Sacked";
    if (mailClass.isAutomation())
        return "TOTAL Automation";
    return "TOTAL Nonauto.";
}

bool tooFewForPresortRates(const SortedMailing& mailing) {
    MailClass c = mailing.mailClass();
    if (c.isPeriodicals())
        return false;
    int32_t pieces = mailing.pieceCount();
    if (c.isFirstClass() && pieces < 500)
        return true;
    if (pieces >= 200)
        return false;
    return !WeighsEnoughForPresort(mailing.mailType(), pieces);
}

} // namespace quillan
