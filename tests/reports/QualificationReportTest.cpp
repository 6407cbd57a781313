// The rate qualification report on the recording printer: the warning for mailings too
// small for presort rates, the column each group qualifies for, the tray and sack codes,
// pages and ranges, and the totals and summaries of whole mailings worked out by hand.

#include "reports/QualificationReport.h"
#include "core/SortResults.h"
#include "tests/reports/QualificationRig.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillan;
using test::DrawnText;
using test::QualificationRig;

namespace {

constexpr const char* TooFew =
    "THIS REPORT FOR DEMONSTRATION PURPOSES ONLY. - TOO FEW PIECES FOR PRESORT RATES.";

// The figure a line prints in a column: the text ending at the column's x on the line of
// the given y.
std::string column(const QualificationRig& rig, int x, int y) {
    return rig.textEndingAt(x, y);
}

// The y of the group line whose destination column reads `destination`.
int lineWith(const QualificationRig& rig, const std::string& destination, int destinationX = 270) {
    for (const DrawnText& t : rig.texts())
        if (t.text == destination && t.right == destinationX)
            return t.y;
    return -1;
}

} // namespace

TEST(QualificationReport, TooSmallMailingsAreMarkedAsDemonstrationsAboveTheHeader) {
    struct Case {
        MailClass mailClass;
        int32_t pieces;
        const char* weightChoice;
        const char* weight;
        bool warns;
    };
    const Case cases[] = {
        {MailClass::RML, 199, "0", "", true},      {MailClass::RML, 200, "0", "", false},
        {MailClass::RML, 199, "1", "4.03", false}, {MailClass::RML, 199, "1", "4.02", true},
        {MailClass::FAL, 499, "1", "9", true},     {MailClass::FAL, 500, "0", "", false},
        {MailClass::PNAF, 1, "0", "", false},      {MailClass::RCOF, 150, "0", "", true},
    };
    for (const Case& c : cases) {
        QualificationRig rig(c.mailClass);
        rig.work.tables.pieces.resize(static_cast<size_t>(c.pieces) + 3);
        rig.work.counters.rejectedCount = 3;
        rig.ctx.lists.mailTypeList[4] = c.weightChoice;
        rig.ctx.lists.mailTypeList[5] = c.weight;
        rig.fiveDigitTrays(1, 10);
        rig.print();
        std::string what = std::string(c.mailClass.code()) + " " + std::to_string(c.pieces) +
                           " pieces at " + c.weight;
        std::optional<DrawnText> warning = rig.find(TooFew);
        ASSERT_EQ(warning.has_value(), c.warns) << what;
        int groupX = c.mailClass.isCoSacked() ? 216 : 270;
        EXPECT_EQ(lineWith(rig, "75201", groupX), c.warns ? 204 : 176) << what;
        EXPECT_EQ(rig.find("Report: USPS Qualification Report")->y, c.warns ? 114 : 86) << what;
        if (warning) {
            EXPECT_EQ(warning->x, 18);
            EXPECT_EQ(warning->y, 72);
            EXPECT_TRUE(warning->bold);
        }
    }
}

TEST(QualificationReport, HeaderNamesTheMailingAndItsColumnsByClass) {
    QualificationRig periodicals(MailClass::PNAL);
    periodicals.ctx.lists.mailerList[6] = "12345";
    periodicals.ctx.lists.mailerList[7] = "THE WEEKLY";
    periodicals.fiveDigitTrays(1, 30);
    periodicals.print();
    EXPECT_TRUE(periodicals.find("Title: THE WEEKLY"));
    EXPECT_TRUE(periodicals.find("Pub. #: 12345"));
    EXPECT_TRUE(periodicals.find("Sort: Periodical Mail, DMM M210"));
    EXPECT_TRUE(periodicals.find("Entry: DALLAS TX 75201"));
    EXPECT_EQ(column(periodicals, 378, 156), "Zone");
    EXPECT_EQ(column(periodicals, 414, 156), "5D");
    EXPECT_EQ(column(periodicals, 108, 156), "Size");

    QualificationRig flats(MailClass::RNAF);
    flats.ctx.lists.mailerList[4] = "2"; // entered at the destination BMC
    flats.fiveDigitTrays(1, 30);
    flats.print();
    EXPECT_TRUE(flats.find("Mailer: TEST MAILER"));
    EXPECT_TRUE(flats.find("Entry: DALLAS TX 75199"));
    EXPECT_EQ(column(flats, 54, 142), "Sack");
    EXPECT_EQ(column(flats, 108, 156), "") << "flats have no tray size";
    EXPECT_EQ(column(flats, 450, 156), "3/5");
    EXPECT_EQ(column(flats, 486, 156), "BS");
    // "Rates" is centred on 444: 5 bold characters of 6 points start 15 points to the left.
    EXPECT_EQ(flats.find("Rates")->x, 444 - 15);

    QualificationRig coSacked(MailClass::PCOF);
    coSacked.fiveDigitTrays(1, 30);
    coSacked.print();
    std::vector<std::string> row2;
    for (const DrawnText& t : coSacked.texts())
        if (t.y == 156 && t.bold)
            row2.push_back(t.text);
    EXPECT_EQ(row2, (std::vector<std::string>{"#", "Lvl", "Zip", "Dest", "Zone", "5B", "3B", "BB",
                                              "5D", "3D", "BS", "Total"}));
}

TEST(QualificationReport, FlatPackagesQualifyByTheirOwnSize) {
    QualificationRig raf(MailClass::RAF);
    int32_t sack = raf.container("DALLAS TX 752", "3/5-Digit");
    raf.group("3D 752", 9, sack);
    raf.group("3D 751", 10, sack);
    raf.group("5D 75201", 10, sack);
    raf.print();
    EXPECT_EQ(column(raf, 486, lineWith(raf, "752")), "9");
    EXPECT_EQ(column(raf, 450, lineWith(raf, "751")), "10");
    EXPECT_EQ(column(raf, 450, lineWith(raf, "75201")), "10") << "Standard 5-digit: 3/5";

    QualificationRig paf(MailClass::PAF);
    sack = paf.container("DALLAS TX 752", "3-Digit");
    paf.group("5D 75201", 5, sack);
    paf.group("5D 75202", 6, sack);
    paf.group("3D 752", 6, sack);
    paf.print();
    EXPECT_EQ(column(paf, 486, lineWith(paf, "75201")), "5");
    EXPECT_EQ(column(paf, 414, lineWith(paf, "75202")), "6");
    EXPECT_EQ(column(paf, 450, lineWith(paf, "752")), "6");
}

TEST(QualificationReport, OtherGroupsQualifyByTheirTrayOrSack) {
    // Standard co-sacked nonbarcoded pieces in a 3/5-digit sack need a full sack: 125
    // pieces, or 15 pounds of pieces of a stated weight over 1.92 ounces.
    struct Case {
        const char* weightChoice;
        const char* weight;
        int32_t pieces;
        int column;
    };
    for (Case c : {Case{"1", "2.0", 120, 450}, Case{"1", "2.0", 119, 486},
                   Case{"0", "2.0", 124, 486}, Case{"0", "", 125, 450}}) {
        QualificationRig rcof(MailClass::RCOF);
        rcof.ctx.lists.mailTypeList[4] = c.weightChoice;
        rcof.ctx.lists.mailTypeList[5] = c.weight;
        int32_t sack = rcof.container("DALLAS TX 752", "3/5-Digit");
        rcof.group("3D 752", c.pieces, sack, true);
        rcof.print();
        EXPECT_EQ(column(rcof, c.column, lineWith(rcof, "752", 216)), std::to_string(c.pieces))
            << c.weightChoice << " " << c.weight << " oz, " << c.pieces << " pieces";
    }

    QualificationRig ral(MailClass::RAL);
    ral.group("AA 2", 150, ral.container("$AADC BUFFALO NY 140", "AADC"));
    ral.group("3D 730", 160, ral.container("OKLAHOMA CITY OK 730", "3-Digit"));
    ral.group("3D 731", 170, ral.container("OKLAHOMA CITY OK 731", "AADC"));
    ral.group("5D 75201", 180, ral.container("DALLAS TX 75201", "5-Digit"));
    ral.group("AA 5", 190, ral.container("%MXD ADC NORTH TEXAS TX 75099", "Mixed AADC"));
    ral.print();
    EXPECT_EQ(column(ral, 450, lineWith(ral, "A140")), "150");
    EXPECT_EQ(column(ral, 414, lineWith(ral, "730")), "160");
    EXPECT_EQ(column(ral, 450, lineWith(ral, "731")), "170");
    EXPECT_EQ(column(ral, 378, lineWith(ral, "75201")), "180");
    EXPECT_EQ(column(ral, 486, lineWith(ral, "A75099")), "190");

    // A Periodicals co-sacked 3-digit sack of the mixed level still pays 3-digit rates; the
    // sack's kind decides, whatever its label holds after a "*".
    QualificationRig pcof(MailClass::PCOF);
    pcof.group("3D 012", 8, pcof.container("SPRINGFIELD MA 012", "Mixed"), true);
    int32_t sack =
        pcof.container("DALLAS TX 752*LETTER SCHEME", "3-Digit", ContainerKind::ThreeDigit);
    pcof.group("3D 752", 9, sack, true);
    pcof.print();
    EXPECT_EQ(column(pcof, 450, lineWith(pcof, "012", 216)), "8");
    EXPECT_EQ(column(pcof, 450, lineWith(pcof, "752", 216)), "9");
}

TEST(QualificationReport, TraysAndSacksShowTheirLevelCodeZipAndSize) {
    QualificationRig rml(MailClass::RML);
    rml.ctx.lists.mailTypeList[7] = "84"; // a one-foot tray holds 84 x 10.25 / 21 = 41
    // The level code follows the tray's kind (here the kind its label gives back from the
    // sort-result file, unless named); the ZIP is read from the first line of its label, and
    // a label too short for one gives none.
    struct Tray {
        std::string label;
        int32_t pieces;
        std::optional<ContainerKind> kind;
    };
    const std::vector<Tray> trays = {
        {"%MXD ADC NORTH TEXAS TX 75099", 41, {}},
        {"$AADC BUFFALO NY 140", 42, {}},
        {"SCF BUFFALO NY 140", 5, {}},
        {"#BUFFALO NY 140", 5, {}},
        {"DALLAS TX 75201", 5, {}},
        {"SPRINGFIELD MA 012*SECOND LINE", 5, ContainerKind::ThreeDigit},
        {"MID CITIES TX 751! 753", 5, {}},
        {"TX", 5, ContainerKind::FiveDigit},
    };
    for (const Tray& tray : trays)
        rml.group("5D 75201", tray.pieces, rml.container(tray.label, "Basic", tray.kind));
    rml.print();
    std::vector<std::string> lines;
    for (int k = 0; k < static_cast<int>(trays.size()); ++k) {
        int y = 176 + 14 * k;
        lines.push_back(column(rml, 54, y) + "|" + column(rml, 108, y) + "|" + column(rml, 162, y) +
                        "|" + column(rml, 216, y));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"1|1'|MAAD|75099", "2|2'|AADC|140", "3|1'|SCF|140",
                                               "4|1'|3DGS|140", "5|1'|5DG|75201", "6|1'|3DG|012",
                                               "7|1'|3DG|751", "8|1'|5DG|"}));

    QualificationRig rnml(MailClass::RNML);
    rnml.group("MA", 5, rnml.container("%ADC NORTH TEXAS TX 75099"));
    rnml.group("AD 2", 5, rnml.container("$ADC BUFFALO NY 140"));
    rnml.print();
    EXPECT_EQ(column(rnml, 162, 176), "MADC");
    EXPECT_EQ(column(rnml, 162, 190), "ADC");

    QualificationRig pcof(MailClass::PCOF);
    pcof.group("5D 75201", 5, pcof.container("DALLAS TX 75201", "5-Digit"));
    pcof.print();
    EXPECT_EQ(column(pcof, 108, 176), "5DG");
    EXPECT_EQ(column(pcof, 162, 176), "75201");
}

TEST(QualificationReport, GroupsShowTheirDestination) {
    QualificationRig rml(MailClass::RML);
    rml.ctx.lists.mailerList[4] = "2"; // entered at the BMC: mixed pieces go to its ASF
    int32_t tray = rml.container("%MXD ADC DALLAS TX 75199");
    for (const char* label :
         {"MA", "AD 2", "AA 9", "AA 99", "AD 0", "3S 140", "3D 012", "5D 01234", "SC 752"})
        rml.group(label, 1, tray);
    rml.print();
    std::vector<std::string> destinations;
    for (int g = 0; g < 9; ++g)
        destinations.push_back(column(rml, 270, 176 + 14 * g));
    EXPECT_EQ(destinations, (std::vector<std::string>{"M75199", "A140", "A969", "A", "A", "140",
                                                      "012", "01234", ""}));

    QualificationRig pnaf(MailClass::PNAF); // entered locally: mixed pieces go to its ADC
    pnaf.group("MA", 1, pnaf.container("%ADC NORTH TEXAS TX 75099"));
    pnaf.print();
    EXPECT_EQ(column(pnaf, 270, 176), "M75099");
}

TEST(QualificationReport, LongMailingsRunOverLetterPagesWithinTheRange) {
    // 600 dots an inch on US Letter: a line runs off when its y + 44 points passes 792.
    auto groupLinesBySheet = [](const QualificationRig& rig) {
        std::map<int, int> lines;
        for (const DrawnText& t : rig.texts())
            if (t.text.rfind("752", 0) == 0 && t.text.size() == 5 && t.x > 2000)
                ++lines[t.sheet];
        return lines;
    };
    QualificationRig plain(MailClass::RML, {});
    plain.fiveDigitTrays(50, 150);
    plain.print();
    EXPECT_EQ(groupLinesBySheet(plain), (std::map<int, int>{{1, 41}, {2, 9}}));
    EXPECT_EQ(plain.job.pagesShown(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(plain.count("TOTALS"), 1);

    QualificationRig warned(MailClass::RML, {});
    warned.work.tables.pieces.resize(150);
    warned.fiveDigitTrays(50, 3);
    warned.print();
    EXPECT_EQ(groupLinesBySheet(warned), (std::map<int, int>{{1, 39}, {2, 11}}));

    // From page 3: pages 1 and 2 are laid out unseen; page 3 is the first sheet.
    QualificationRig from3(MailClass::RML, {});
    from3.job.from = 3;
    from3.fiveDigitTrays(100, 150);
    from3.print();
    EXPECT_EQ(from3.printer.pageCount(), 1);
    std::optional<DrawnText> page = from3.find("Page 3");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->sheet, 1);
    EXPECT_FALSE(from3.find("Page 1"));
    EXPECT_TRUE(from3.find("75283")) << "the 83rd group opens page 3";
    EXPECT_FALSE(from3.find("75282"));
    EXPECT_TRUE(from3.find("TOTALS"));

    // To page 1: the report stops at the first page break, without totals or summary.
    QualificationRig to1(MailClass::RML, {});
    to1.job.to = 1;
    to1.fiveDigitTrays(50, 150);
    to1.print();
    EXPECT_EQ(to1.printer.pageCount(), 1);
    EXPECT_FALSE(to1.find("TOTALS"));
    EXPECT_FALSE(to1.find("Rate Summary"));
    EXPECT_EQ(to1.printer.documentCount(), 1);
}

TEST(QualificationReport, TrayRunningOverAPageIsNotRepeated) {
    QualificationRig rig(MailClass::RNML);
    rig.ctx.lists.mailTypeList[8] = "1";
    int32_t tray = rig.container("DALLAS TX 752", "3/5-Digit");
    for (int i = 0; i < 45; ++i)
        rig.group("5D " + std::to_string(75201 + i), 10, tray);
    rig.print();
    EXPECT_EQ(rig.count("3DG"), 1);
    std::optional<DrawnText> next = rig.find("75242");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->sheet, 2);
    EXPECT_EQ(next->y, 176);
    EXPECT_EQ(rig.lineOf("75242").size(), 3u) << "destination, pieces and running total only";
    EXPECT_EQ(rig.lineOf("75245").back().text, "450") << "the running total runs on";
}

TEST(QualificationReport, AfterASortPagesRunOnFromTheReportsBefore) {
    QualificationRig rig(MailClass::RML);
    rig.session.justSorted = true;
    rig.session.runPageNumber = 2;
    rig.fiveDigitTrays(1, 150);
    rig.print();
    EXPECT_EQ(rig.printer.pageCount(), 1) << "no empty sheet before the first page";
    EXPECT_EQ(rig.job.pagesShown(), (std::vector<int32_t>{3}));
    EXPECT_TRUE(rig.find("Page 1"));
    EXPECT_EQ(rig.session.runPageNumber, 3);

    QualificationRig menu(MailClass::RML);
    menu.job.copies = 2;
    menu.fiveDigitTrays(1, 150);
    menu.print();
    EXPECT_EQ(menu.job.captions(),
              (std::vector<std::string>{"Ready to print rate qualification report."}));
    EXPECT_EQ(menu.printer.documentCount(), 2);
    EXPECT_EQ(menu.job.pagesShown(), (std::vector<int32_t>{1, 1}));

    QualificationRig declined(MailClass::RML);
    declined.job.prints = false;
    declined.print();
    EXPECT_EQ(declined.printer.documentCount(), 0);
}

TEST(QualificationReport, EmptyMailingPrintsZeroTotalsAndNoRunningTotal) {
    QualificationRig rig(MailClass::RAL);
    rig.container("DALLAS TX 75201", "5-Digit"); // a tray no group is in
    rig.print();
    std::vector<DrawnText> totals = rig.lineOf("TOTALS");
    ASSERT_EQ(totals.size(), 5u);
    EXPECT_EQ(totals.back().text, "0") << "basic; no running total after it";
    EXPECT_EQ(rig.textEndingAt(540, totals.back().y), "");
    EXPECT_EQ(rig.summaryRows("Rate Summary"),
              (std::vector<std::string>{"Automation 5-Digit (5B)=0", "Automation 3-Digit (3B)=0",
                                        "Automation AADC (AB)=0", "Automation Mixed AADC (MB)=0_",
                                        "*TOTAL Automation=0"}));
}

TEST(QualificationReport, CancelInThePrintingBoxEndsTheCopyAtTheNextPage) {
    QualificationRig rig(MailClass::RML, {});
    rig.job.copies = 3;
    rig.job.onPageShown = [&rig](int32_t) { rig.job.cancelPressed = true; };
    rig.fiveDigitTrays(50, 150);
    rig.print();
    EXPECT_EQ(rig.printer.documentCount(), 1) << "no further copy";
    EXPECT_EQ(rig.printer.pageCount(), 1);
    EXPECT_TRUE(rig.find("75241"));
    EXPECT_FALSE(rig.find("75242"));
    EXPECT_FALSE(rig.find("TOTALS"));
    EXPECT_TRUE(rig.session.stopPrinting);
}
