// Postage statements of mailings worked out by hand, printed on the recording printer:
// page 1 fields and totals, the affixed-postage box, page 2 rows and section totals, the
// footer on both pages; then the page range, the copies, Cancel and bad form files.

#include "reports/PostageStatement.h"
#include "core/Convert.h"
#include "reports/FormFileError.h"
#include "reports/FormLayout.h"
#include "tests/core/postage/PeriodicalFixtures.h"
#include "tests/reports/StatementRig.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillan;
using test::PrintedText;

namespace {

constexpr double Near = 0.15; // points: one device dot at 600 dpi, and the rounding

FormLayout layoutOf(const std::string& form) {
    return LoadFormLayout(std::string(QUILLAN_BUILD_DIR) + "/bitmaps", form);
}

class Statement : public ::testing::Test {
protected:
    test::StatementRig rig;
    test::PostageFixture& f = rig.fixture;

    // A text drawn on the page with its left edge (or its right edge) at (x, y) points.
    bool drawnAt(int page, const std::string& text, double x, double y, bool right) {
        for (const PrintedText& t : rig.page(page))
            if (t.text == text && std::abs((right ? t.right : t.left) - x) < Near &&
                std::abs(t.y - y) < Near)
                return true;
        return false;
    }
    void expectLeft(int page, const std::string& text, double x, double y) {
        EXPECT_TRUE(drawnAt(page, text, x, y, false)) << "\"" << text << "\" at " << x << ", " << y;
    }
    void expectAtPlace(int page, const std::string& text, const FormLayout& layout, int place,
                       double dx = 0, double dy = 0) {
        expectLeft(page, text, layout.x(place) + dx, layout.y(place) + dy);
    }
    void expectRight(int page, const std::string& text, double x, double y) {
        EXPECT_TRUE(drawnAt(page, text, x, y, true))
            << "\"" << text << "\" ending at " << x << ", " << y;
    }
    // Every text drawn at a height (between two x), left to right.
    std::vector<std::string> row(int page, double y, double fromX = 0, double toX = 1000) {
        std::vector<PrintedText> at;
        for (const PrintedText& t : rig.page(page))
            if (std::abs(t.y - y) < Near && t.left >= fromX - Near && t.left < toX)
                at.push_back(t);
        std::sort(at.begin(), at.end(),
                  [](const PrintedText& a, const PrintedText& b) { return a.left < b.left; });
        std::vector<std::string> texts;
        for (const PrintedText& t : at)
            texts.push_back(t.text);
        return texts;
    }
    void expectFooterOnBothPages(const FormLayout& layout) {
        for (int page : {1, 2}) {
            expectAtPlace(page, "Facsimile", layout, 25);
            expectAtPlace(page, "Quillan Windows Version 6.2.4 - Released 1/5/2025", layout, 26);
            EXPECT_EQ(rig.find(page, "Facsimile").size, 8);
        }
    }
    void payment(const std::string& text) { rig.statement(6, text); }
};

// Automation letters, Regular, no exact weight:
//   5-Digit 150 x 0.200 = 30.0000   3-Digit 300 x 0.220 = 66.0000   AADC 0
//   Mixed AADC 60 x 0.260 = 15.6000   DBMC AADC 200 x 0.230 = 46.0000   total 157.6000
void fourTrays(test::PostageFixture& f) {
    f.useClass(MailClass::RAL);
    for (auto [line, rate] :
         {std::pair{6L, "0.200"}, {5L, "0.220"}, {4L, "0.240"}, {3L, "0.260"}, {10L, "0.230"}})
        f.rate(line, rate);
    f.groupOfZip(75201, 150, "5D 75201", f.container(150, "DALLAS TX 75201", "None", "5-Digit"));
    f.groupOfZip(75202, 300, "3D 752", f.container(300, "DALLAS TX 752", "None", "3-Digit"));
    f.groupOfZip(75001, 200, "AA 1", f.container(200, "$AADC DALLAS TX 750", "DBMC", "AADC"));
    f.groupOfZip(80001, 60, "MA", f.container(60, "%MIXED AADC DENVER", "None", "Mixed AADC"));
}

} // namespace

// With permit imprint and trays of up to 500: one-foot trays hold 244 (500 x 10.25 / 21),
// the trays of 150, 200 and 60.
TEST_F(Statement, StandardPermitLettersFillEveryPartOfTheForm) {
    fourTrays(f);
    f.mailType(7, "500");
    f.mailType(8, "0");
    rig.statement(1, "ACME MAILING");
    rig.statement(2, "100 MAIN ST");
    rig.statement(3, "DALLAS TX 75201");
    rig.statement(4, "214-555-0100");
    rig.statement(5, "DALLAS TX");
    rig.statement(7, "1234");
    rig.statement(9, "3");
    rig.statement(10, "7");
    rig.statement(11, "24");
    rig.statement(12, "PAT MAILER");
    rig.statement(13, "214-555-0199");
    rig.print();

    EXPECT_EQ(rig.job.log.front(), "ask Ready to print postage statement.");
    EXPECT_EQ(rig.log().front(), "title Quillan Postage Statement");
    EXPECT_EQ(rig.fixture.env.printer.documentCount(), 1);
    EXPECT_EQ(rig.count("newpage"), 1);
    EXPECT_EQ(rig.count("image"), 2);

    FormLayout form = layoutOf("3602r");
    expectAtPlace(1, "ACME MAILING", form, 1);
    expectAtPlace(1, "100 MAIN ST", form, 1, 0, 12);
    expectAtPlace(1, "DALLAS TX 75201", form, 1, 0, 24);
    expectAtPlace(1, "214-555-0100", form, 2);
    expectAtPlace(1, "DALLAS TX", form, 6);
    expectAtPlace(1, "1234", form, 7);
    expectAtPlace(1, "x", form, 9); // letters
    expectAtPlace(1, "710", form, 12);
    expectAtPlace(1, "4", form, 14);
    expectAtPlace(1, "1-Ft MM trays: 3", form, 14, -30, 11);
    expectAtPlace(1, "2-Ft MM trays: 1", form, 14, -30, 22);
    expectAtPlace(1, "PAT MAILER", form, 23);
    expectAtPlace(1, "214-555-0199", form, 24);
    EXPECT_EQ(row(1, form.y(16)),
              (std::vector<std::string>{"0", "3", "0", "7", "2", "0", "2", "4"}));
    EXPECT_TRUE(row(1, form.y(11)).empty()) << "no exact weight: the weight boxes stay empty";

    expectLeft(1, "$157.6000", form.x(17), 293);
    expectAtPlace(1, "$157.60", form, 17);
    EXPECT_EQ(rig.find(1, "$157.60").size, 10);

    // Section A, permit rows 1 to 4 and 9: pieces end at 212, amounts at 284.
    EXPECT_EQ(row(2, 104), (std::vector<std::string>{"150", "30.0000"}));
    expectRight(2, "30.0000", 284, 104);
    expectRight(2, "150", 212, 104);
    EXPECT_EQ(row(2, 116), (std::vector<std::string>{"300", "66.0000"}));
    EXPECT_EQ(row(2, 127), (std::vector<std::string>{"0", "0.0000"}));
    EXPECT_EQ(row(2, 139), (std::vector<std::string>{"60", "15.6000"}));
    EXPECT_EQ(row(2, 198), (std::vector<std::string>{"200", "46.0000"}));
    EXPECT_EQ(row(2, 269), (std::vector<std::string>{"0", "0.0000"})); // DSCF AADC
    EXPECT_TRUE(row(2, 281).empty()) << "the flats rows stay empty";
    expectRight(2, "157.6000", 284, 330);
    expectFooterOnBothPages(form);
    EXPECT_EQ(rig.session.runPageNumber, 2);
}

// Nonautomation flats of 3 oz, Regular, stamps at the lowest rate. Sacks of 80 pieces
// or more (240 / 3) are 3/5-Digit:
//   None 3/5 100 x 0.250 = 25.000   None Basic 50 x 0.300 = 15.000
//   DBMC Basic 30 x 0.280 = 8.400   total 48.400
// Lowest rate 0.250: 180 pieces affix 45.00, and 3.40 is due with the statement.
TEST_F(Statement, StandardAffixedFlatsShowTheLowestRateBox) {
    f.useClass(MailClass::RNAF);
    f.mailType(4, "1");
    f.mailType(5, "3.0");
    payment("2");
    rig.statement(8, "1");
    for (auto [line, rate] : {std::pair{21L, "0.250"}, {20L, "0.300"}, {24L, "0.280"}})
        f.rate(line, rate);
    f.groupOfZip(75201, 100, "5D 75201", f.container(100, "DALLAS TX 75201"));
    f.groupOfZip(75202, 50, "3D 752", f.container(50, "DALLAS TX 752"));
    f.groupOfZip(80001, 30, "MA", f.container(30, "%MIXED ADC DENVER", "DBMC"));
    rig.print();

    FormLayout form = layoutOf("3602p");
    expectAtPlace(1, "x", form, 8, 0, 11); // stamps
    EXPECT_EQ(row(1, form.y(9) + 11), (std::vector<std::string>{"x"})) << "nonautomation flats";
    EXPECT_EQ(row(1, form.y(11)), (std::vector<std::string>{"1", "8", "7", "5"})); // 0.1875 lb
    expectAtPlace(1, "180", form, 12);
    expectAtPlace(1, "33.75", form, 13);
    expectAtPlace(1, "3", form, 14);
    expectAtPlace(1, "sacks", form, 14, 0, 12);
    EXPECT_EQ(row(1, form.y(15)), (std::vector<std::string>{"x"}));
    expectAtPlace(1, "x", form, 15, 39); // over 1.92 oz
    EXPECT_TRUE(row(1, form.y(16)).empty()) << "no CASS date for nonautomation";
    EXPECT_FALSE(rig.has(1, "1234")) << "no permit number";

    expectLeft(1, "$48.4000", form.x(17), 307);
    expectAtPlace(1, "$48.40", form, 17);
    expectAtPlace(1, "x", form, 18, 50);
    expectAtPlace(1, "180", form, 19);
    expectAtPlace(1, "0.250", form, 20);
    expectAtPlace(1, "$45.00", form, 21);
    expectAtPlace(1, "$3.40", form, 22);

    // Section B, affixed Regular rows 3, 4, 7, 8, 11, 12.
    EXPECT_EQ(row(2, 134), (std::vector<std::string>{"100", "25.000"}));
    expectRight(2, "25.000", 569, 134);
    EXPECT_EQ(row(2, 146), (std::vector<std::string>{"50", "15.000"}));
    EXPECT_EQ(row(2, 187), (std::vector<std::string>{"0", "0.000"}));
    EXPECT_EQ(row(2, 199), (std::vector<std::string>{"30", "8.400"}));
    EXPECT_EQ(row(2, 239), (std::vector<std::string>{"0", "0.000"}));
    expectRight(2, "48.4000", 569, 299);
    expectFooterOnBothPages(form);
}

// First-Class letters of 1.5 oz (the 2-ounce rates), permit imprint:
//   5-Digit 120 x 0.300 = 36.0000   3-Digit 80 x 0.320 = 25.6000   Mixed AADC 10 x 0.370
//   = 3.7000   total 65.3000; the rates print in their column.
TEST_F(Statement, FirstClassLettersShowTheirRatesInTheirColumn) {
    f.useClass(MailClass::FAL);
    f.mailType(4, "1");
    f.mailType(5, "1.5");
    for (auto [line, rate] : {std::pair{102L, "0.300"},
                              {101L, "0.320"},
                              {100L, "0.340"},
                              {99L, "0.370"},
                              {114L, "0.190"}})
        f.rate(line, rate);
    f.groupOfZip(75201, 120, "5D 75201", f.container(120, "DALLAS TX 75201", "None", "5-Digit"));
    f.groupOfZip(75202, 80, "3D 752", f.container(80, "DALLAS TX 752", "None", "3-Digit"));
    f.groupOfZip(80001, 10, "MA", f.container(10, "%MIXED AADC DENVER", "None", "Mixed AADC"));
    rig.print();

    FormLayout letters = layoutOf("3600r");
    EXPECT_EQ(row(1, letters.y(11)), (std::vector<std::string>{"0", "9", "3", "8"})); // 0.0938
    expectAtPlace(1, "210", letters, 12);
    expectAtPlace(1, "19.688", letters, 13); // 210 x 0.09375
    expectLeft(1, "$65.3000", letters.x(17), 281);
    expectAtPlace(1, "$65.30", letters, 17);
    EXPECT_EQ(row(2, 132), (std::vector<std::string>{"0.300", "120", "36.0000"}));
    expectRight(2, "0.300", 145, 132);
    expectRight(2, "120", 202, 132);
    expectRight(2, "36.0000", 287, 132);
    EXPECT_EQ(row(2, 155), (std::vector<std::string>{"0.320", "80", "25.6000"}));
    EXPECT_EQ(row(2, 178), (std::vector<std::string>{"0.340", "0", "0.0000"}));
    EXPECT_EQ(row(2, 201), (std::vector<std::string>{"0.370", "10", "3.7000"}));
    expectRight(2, "65.3000", 287, 363);
    expectFooterOnBothPages(letters);
}

// First-Class cards, meter, the correct postage affixed: 5-Digit 200 x 0.190 = 38.000.
TEST_F(Statement, FirstClassCardsPaidByMeterFillTheirOwnPart) {
    f.useClass(MailClass::FAL);
    f.mailType(2, "1");
    f.rate(114, "0.190");
    payment("1");
    rig.statement(8, "0");
    f.groupOfZip(75201, 200, "5D 75201", f.container(200, "DALLAS TX 75201", "None", "5-Digit"));
    rig.print();
    FormLayout meter = layoutOf("3600p");
    expectAtPlace(1, "x", meter, 8); // meter
    expectLeft(1, "$38.0000", meter.x(17), 331);
    expectAtPlace(1, "$38.00", meter, 17);
    expectAtPlace(1, "x", meter, 18); // the correct postage is affixed
    EXPECT_TRUE(row(1, meter.y(19)).empty()) << "and nothing more is said of it";
    EXPECT_EQ(row(2, 439), (std::vector<std::string>{"200", "38.000"}));
    expectRight(2, "38.000", 572, 439);
    expectRight(2, "38.0000", 572, 709);
    expectFooterOnBothPages(meter);
}

// The Periodicals mailing of the charges test (nonautomation flats, 20 % advertising, SCF
// entry): piece lines 25 x 0.300, 30 x 0.250, 40 x 0.200 = 23.00; less 7.60 and 0.40;
// with the pounds 17.35.
TEST_F(Statement, PeriodicalsWithoutInCountyPrintTheZoneTableAndCharges) {
    test::regularPeriodicals(f);
    f.mailer(7, "THE COUNTY GAZETTE");
    rig.print();

    FormLayout form = layoutOf("3541a");
    expectAtPlace(1, "THE COUNTY GAZETTE", form, 8);
    expectAtPlace(1, "x", form, 5, 0, 15); // Regular
    EXPECT_EQ(row(1, form.y(7), form.x(7), form.x(7) + 80),
              (std::vector<std::string>{"2", "0", "0", "0"})); // 20.00 %
    EXPECT_EQ(row(1, form.y(11)), (std::vector<std::string>{"0", "1", "2", "5", "0"}));
    expectRight(1, "$17.3500", 578, 280);
    expectRight(1, "$0.0000", 578, 309);
    PrintedText total = rig.find(1, "$17.35");
    EXPECT_NEAR(total.y, 338, Near);
    EXPECT_EQ(total.size, 10);
    EXPECT_EQ(row(1, 586), (std::vector<std::string>{"40", "5", "1", "$0.", "1500"}));

    // Section P, nonautomation rows 21, 24, 27 and the piece subtotal in row 33.
    EXPECT_EQ(row(2, 79), (std::vector<std::string>{"25", "7.5000"}));
    EXPECT_EQ(row(2, 114), (std::vector<std::string>{"30", "7.5000"}));
    EXPECT_EQ(row(2, 149), (std::vector<std::string>{"40", "8.0000"}));
    EXPECT_EQ(row(2, 217), (std::vector<std::string>{"95", "$23.0000"}));
    expectRight(2, "$23.0000", 490, 217);
    expectRight(2, "80.00", 180, 228);
    expectRight(2, "$7.6000", 432, 228);
    EXPECT_EQ(row(2, 251), (std::vector<std::string>{"40", "$0.4000"}));
    expectRight(2, "$8.0000", 490, 298);
    expectRight(2, "$15.0000", 561, 318);
    expectRight(2, "$17.3500", 561, 336);
    EXPECT_EQ(row(2, 356), (std::vector<std::string>{"$0.00"})) << "no reduction for Regular";
    expectRight(2, "$0.00", 490, 356);
    EXPECT_EQ(row(2, 376), (std::vector<std::string>{"$17.3500"}));
    expectFooterOnBothPages(form);
}

// The in-county mailing of the charges test (co-sacked flats of 4 oz): outside-county
// 4.92, in-county 17 pieces, 4 pounds x 0.100 and 13 x 0.040 + 4 x 0.050: 1.12; $6.04.
TEST_F(Statement, PeriodicalsWithInCountyPrintTheInCountyLines) {
    test::inCountyPeriodicals(f);
    rig.print();
    EXPECT_TRUE(f.env.ui.messages().empty()) << "every piece has its zone";

    FormLayout form = layoutOf("3541a");
    EXPECT_EQ(row(1, form.y(9) + 7), (std::vector<std::string>{"x"}));
    EXPECT_EQ(row(1, form.y(9) + 14), (std::vector<std::string>{"x"}));
    expectRight(1, "$4.9200", 578, 280);
    expectRight(1, "$1.1200", 578, 309);
    EXPECT_NEAR(rig.find(1, "$6.04").y, 338, Near);

    // Co-sacked piece lines: rows 21, 23, 24, 26, 27, 29.
    EXPECT_EQ(row(2, 79), (std::vector<std::string>{"0", "0.0000"}));
    EXPECT_EQ(row(2, 103), (std::vector<std::string>{"12", "3.3600"}));
    EXPECT_EQ(row(2, 149), (std::vector<std::string>{"6", "1.2000"}));
    EXPECT_EQ(row(2, 173), (std::vector<std::string>{"12", "2.1600"}));
    expectRight(2, "17", 306, 455);
    EXPECT_EQ(row(2, 455), (std::vector<std::string>{"17", "4", "$0.4000"}));
    expectRight(2, "$0.4000", 561, 478);
    // In-county 5-Digit: barcoded in row 64 (y 597), without ZIP+4 in row 62 (y 573).
    EXPECT_EQ(row(2, 597), (std::vector<std::string>{"13", "$0.5200"}));
    EXPECT_EQ(row(2, 573), (std::vector<std::string>{"4", "$0.2000"}));
    EXPECT_EQ(row(2, 642), (std::vector<std::string>{"17", "$0.7200"}));
    expectRight(2, "$0.7200", 561, 668);
    expectRight(2, "$1.1200", 561, 688);
}

TEST_F(Statement, PageRangeDrawsOnlyItsPagesAndTheTotalsAreStillComputed) {
    fourTrays(f);
    rig.job.from = 2;
    rig.print();
    EXPECT_EQ(rig.count("begindoc"), 1);
    EXPECT_EQ(rig.count("newpage"), 0) << "no blank sheet for page 1";
    EXPECT_EQ(rig.count("image"), 1);
    EXPECT_FALSE(rig.has(1, "710")) << "page 1 is not drawn";
    EXPECT_TRUE(rig.has(1, "Facsimile"));
    EXPECT_EQ(row(1, 330), (std::vector<std::string>{"157.6000"})) << "the section total";
    EXPECT_EQ(rig.session.runPageNumber, 2);

    test::StatementRig toOne;
    fourTrays(toOne.fixture);
    toOne.job.to = 1;
    toOne.print();
    EXPECT_EQ(toOne.count("begindoc"), 1);
    EXPECT_EQ(toOne.count("newpage"), 0) << "page 2 is not started";
    EXPECT_TRUE(toOne.has(1, "710"));
    EXPECT_EQ(toOne.job.log, (std::vector<std::string>{"ask Ready to print postage statement.",
                                                       "page 1", "close", "close"}))
        << "the box closes at the page change";

    test::StatementRig beyond;
    fourTrays(beyond.fixture);
    beyond.job.from = 3;
    beyond.print();
    EXPECT_TRUE(beyond.log().empty()) << "no page in range: no document at all";
    EXPECT_EQ(beyond.session.runPageNumber, 2) << "later reports number on";
}

TEST_F(Statement, CopiesPrintOneDocumentEachAndCancelStopsAfterTheCurrentOne) {
    fourTrays(f);
    rig.job.copies = 2;
    rig.print();
    EXPECT_EQ(rig.fixture.env.printer.documentCount(), 2);
    EXPECT_EQ(rig.count("newpage"), 2);
    EXPECT_FALSE(rig.fixture.env.ui.busyCursor());

    test::StatementRig cancelled;
    fourTrays(cancelled.fixture);
    cancelled.job.copies = 3;
    cancelled.job.onPageShown = [&](int32_t page) {
        if (page == 1)
            cancelled.job.cancelPressed = true;
    };
    cancelled.print();
    EXPECT_EQ(cancelled.fixture.env.printer.documentCount(), 1);
    EXPECT_EQ(cancelled.count("newpage"), 1) << "the copy under way is finished";
    EXPECT_TRUE(cancelled.has(2, "157.6000"));

    test::StatementRig declined;
    fourTrays(declined.fixture);
    declined.job.prints = false;
    declined.print();
    EXPECT_TRUE(declined.log().empty());
}

// A form file that is not there, or a rate that is not a number, stops the statement
// before its document begins.
TEST_F(Statement, BadFormFilesAndRatesStopBeforeAnythingPrints) {
    fourTrays(f);
    std::string bitmaps = f.env.folder() + "bitmaps/";
    std::filesystem::remove(bitmaps + "3602r_p2.bmp");
    EXPECT_THROW(rig.print(), FormFileError);
    EXPECT_TRUE(rig.log().empty());

    rig.job.to = 1; // page 2 is not drawn, so its picture is not needed
    rig.print();
    EXPECT_EQ(rig.count("enddoc"), 1);
    rig.fixture.env.printer.clearLog();

    std::filesystem::remove(bitmaps + "3602r.txt");
    try {
        rig.print();
        ADD_FAILURE() << "printed without its coordinate file";
    } catch (const FormFileError& e) {
        EXPECT_NE(std::string(e.what()).find("3602r.txt"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(rig.log().empty());

    test::StatementRig badRate;
    fourTrays(badRate.fixture);
    badRate.fixture.rate(6, "0.2a");
    EXPECT_THROW(badRate.print(), ConvertError);
    EXPECT_TRUE(badRate.log().empty());
}

// Faults of the statement as it was, mended.
TEST_F(Statement, MachinableLettersNeverPriceAsPiecesOverThreeOunces) {
    f.useClass(MailClass::RML);
    f.mailType(4, "1"); // a hand-edited file: exact weight of 4 oz
    f.mailType(5, "4.0");
    f.rate(2, "0.250");
    f.groupOfZip(75201, 200, "5D 75201", f.container(200, "DALLAS TX 75201", "None", "3/5-Digit"));
    rig.print();
    FormLayout form = layoutOf("3602r");
    expectLeft(1, "$50.0000", form.x(17), 315);
    EXPECT_EQ(row(2, 106), (std::vector<std::string>{"200", "50.0000"}));
    EXPECT_TRUE(row(1, form.y(11)).empty()) << "no piece weight";
    EXPECT_TRUE(row(1, form.y(13)).empty()) << "no total weight";
}

TEST_F(Statement, LowestRateBoxStaysEmptyWhenNoLineHasPieces) {
    f.useClass(MailClass::RNAF);
    payment("1");
    rig.statement(8, "1");
    f.groupOfZip(75201, 12, "5D 75201", 0); // in no sack: no rate line counts it
    rig.print();
    FormLayout form = layoutOf("3602p");
    expectAtPlace(1, "x", form, 18, 50);
    expectAtPlace(1, "12", form, 19);
    for (int place : {20, 21, 22})
        EXPECT_TRUE(row(1, form.y(place), form.x(place), form.x(place) + 80).empty()) << place;
    EXPECT_FALSE(rig.has(1, "50.000"));
}

// Co-sacked flats over 3.3 oz paid by meter: each pair of a piece and a pound line prints
// once, on the row of its rate, and nothing lands at the top of the page.
TEST_F(Statement, AffixedCoSackedFlatsOverThreeOuncesFillTheirOwnRows) {
    f.useClass(MailClass::RCOF);
    f.mailType(4, "1");
    f.mailType(5, "4.0");
    payment("1");
    rig.statement(8, "1");
    // DBMC presorted 3/5-Digit (sacks of 60 and more at 4 oz): 100 x 0.200 + 25 pounds x
    // 0.400 = 30.000, 0.300 a piece.
    f.rate(33, "0.200");
    f.rate(41, "0.400");
    int32_t sack = f.container(100, "DALLAS TX 75201", "DBMC");
    f.groupOfZip(-75201, 100, "5D 75201", sack, 0, true);
    rig.print();
    for (const PrintedText& t : rig.page(2))
        EXPECT_GT(t.y, 50) << t.text;
    std::vector<double> rows = {414, 425, 436, 447, 499, 510, 521, 532, 583, 594, 605, 616};
    for (double y : rows)
        EXPECT_EQ(row(2, y, 400, 600).size(), 3u) << y;
    EXPECT_EQ(row(2, 521), (std::vector<std::string>{"0.300", "100", "30.000"}));
    expectRight(2, "30.0000", 569, 708);
}

// Pieces whose prefix the zone chart gives no zone are in no zone charge: the mailer is
// told which ZIP Codes before the statement prints, and it prints all the same.
TEST_F(Statement, PeriodicalsWithUnzonedPiecesWarnAndPrint) {
    test::regularPeriodicals(f);
    f.ctx.lists.zoneChart.set(800, "0");
    rig.print();
    ASSERT_EQ(f.env.ui.messages().size(), 1u);
    EXPECT_EQ(f.env.ui.messages()[0].text,
              "There is an error in your zone chart: no zone from 1 to 8 was found for 80001. "
              "Their 20 pieces are not in the zone charges.");
    EXPECT_EQ(rig.fixture.env.printer.documentCount(), 1);
}
