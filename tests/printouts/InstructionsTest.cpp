// The mail preparation instructions and the verification report on a 72 dpi recording
// printer: the summary's postage against the statement's, the rows, package and ZIP lines, the
// rejected ZIP codes, page ranges and what stops the report before it begins.

#include "core/Convert.h"
#include "core/money/Money.h"
#include "core/postage/StatementPostage.h"
#include "printouts/PackageInstructions.h"
#include "printouts/ReportSummary.h"
#include "printouts/SummaryPostage.h"
#include "tests/printouts/InstructionsRig.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillan;
using test::DrawnText;
using test::InstructionsRig;

namespace {

// The recording printer's text metric at 72 dpi: 6 points a character at 12 pt.
int width12(const std::string& text) {
    return static_cast<int>(text.size()) * 6;
}

// The money text drawn on the line of a caption ("**" dropped).
std::string moneyBeside(const InstructionsRig& r, const std::string& caption) {
    DrawnText at = r.only(caption);
    for (const DrawnText& t : r.texts())
        if (t.sheet == at.sheet && t.y == at.y && t.text.find('$') == 0) {
            std::string text = t.text;
            if (text.size() > 2 && text.substr(text.size() - 2) == "**")
                text.resize(text.size() - 2);
            return text;
        }
    ADD_FAILURE() << "no amount beside " << caption;
    return "-1";
}

double amountBeside(const InstructionsRig& r, const std::string& caption) {
    return parseMoney(moneyBeside(r, caption));
}

} // namespace

TEST(SummaryPostage, PoundRowsShowPoundsAndEmptyRowsShowZero) {
    InstructionsRig r("RAF");
    r.mailType(4, "1");
    r.mailType(5, "3.5");
    int32_t sack = r.rig.container("DALLAS TX 75201", 1000, "3/5-Digit");
    r.rig.zip(75201, 1000, r.rig.group("5D 75201", 1000, sack));
    SummaryPostage postage = computeSummaryPostage(r.built());
    ASSERT_EQ(postage.rows.size(), 12u);
    const RateTable& rates = r.ctx().lists.ratesList;
    EXPECT_EQ(postage.rows[0].line.label, "3/5 Automation");
    EXPECT_EQ(postage.rows[0].quantity, "1000");
    EXPECT_EQ(postage.rows[1].line.label, "  plus");
    EXPECT_EQ(postage.rows[1].quantity, "218.7500");
    EXPECT_EQ(postage.rows[1].rateText, rates.rateText(RateTable::PoundNoEntry));
    EXPECT_EQ(postage.rows[1].amountText,
              currencyText(rates.rate(RateTable::PoundNoEntry) * 218.75));
    EXPECT_EQ(postage.rows[2].quantity, "0");
    EXPECT_EQ(postage.rows[2].amountText, "$0.0000");
    EXPECT_DOUBLE_EQ(postage.total, postage.rows[0].amount + postage.rows[1].amount);

    r.printInstructions();
    DrawnText pounds = r.find("218.7500").at(0);
    EXPECT_EQ(pounds.x + width12("218.7500"), 441) << "quantities end at 441 pt";
    DrawnText amount = r.only(postage.rows[1].amountText);
    std::string whole = amount.text.substr(0, amount.text.find('.') + 1);
    EXPECT_EQ(amount.x + width12(whole), 513) << "amounts line up on their decimal point";
    EXPECT_EQ(amount.y, pounds.y);
    EXPECT_EQ(r.count("Total Pieces: 1000   Total Weight: 218.75"), 1);
    EXPECT_NEAR(amountBeside(r, "Total - Part D (Carry to front. Round to whole ¢ on Total "
                                "Postage line.)"),
                postage.total, 1e-9);
}

namespace {

struct Fixture {
    const char* name;
    const char* category;
    const char* size;
    std::vector<std::pair<long, std::string>> mailType;
    std::vector<std::pair<long, std::string>> periodical;
    const char* pieces;
    const char* totalCaption;
};

const Fixture fixtures[] = {
    {"RAL",
     "3",
     "0",
     {},
     {},
     "75001x70, 75201x30, 96701x60, 96901x100, 14001x100, 14201x50",
     "Total - Part A (Carry to front. Round to whole ¢ on Total Postage line.)"},
    {"RNAF",
     "2",
     "1",
     {},
     {},
     "14001x14, 14101x12, 15001x5, 15101x5, 75001x8, 75101x2, 75201x130, 75202x150, 01234x40",
     "Total - Part B (Carry to front. Round to whole ¢ on Total Postage line.)"},
    {"RCOF",
     "4",
     "1",
     {},
     {},
     "01234x70, -01234x60, 14001x9, 14101x9, 14201x9, 14301x9, -14002x9, -14102x9, -14202x9, "
     "-14302x9, 09001x3, -09002x4, 75201x200",
     "Total Postage - Enter on front of form."},
    {"RCOF by the pound",
     "4",
     "1",
     {{4, "1"}, {5, "4"}},
     {},
     "01234x70, -01234x60, 14001x9, 14101x9, -14002x9, -14102x9, 75201x200",
     "Total - Part D (Carry to front. Round to whole ¢ on Total Postage line.)"},
    {"FAL letters",
     "8",
     "0",
     {{4, "1"}, {5, "1.5"}},
     {},
     "75001x70, 75201x30, 96701x60, 96901x100, 14001x100, 14201x50",
     "Total - Part A (Carry to front. Round to whole ¢ on Total Postage line.)"},
    {"FAL cards",
     "8",
     "0",
     {{2, "1"}},
     {},
     "75001x70, 75201x330, 96701x60, 14001x100",
     "Total - Part D (Carry to front. Round to whole ¢ on Total Postage line.)"},
    {"PAL in-county",
     "6",
     "0",
     {{4, "1"}, {5, "3"}},
     {{2, "10"}, {3, "2"}, {4, "t"}},
     "75201x80/30, 75202x40/10, 80001x10, 14001x60, 96701x20, 01234x7",
     "Total Postage (Enter on front.)"},
    {"PCOF in-county",
     "7",
     "1",
     {{4, "1"}, {5, "4"}},
     {{2, "25"}, {4, "t"}},
     "75201x40/10, -75202x20/5, 80001x30, -14001x12, 14101x30, 75301x8/8",
     "Total Postage (Enter on front.)"},
};

} // namespace

// The summary prices the mailing with the statement's own rate lines and shows its totals to
// the last decimal, with a permit imprint or postage affixed by meter: with a permit imprint
// its rows hold the statement's pieces and pounds; with postage affixed a piece row and its
// pound row are one row at the statement's combined per-piece rate, rounded up to the next
// tenth of a cent, which is what each piece bears.
TEST(SummaryPostage, AgreesWithTheStatementWhateverThePayment) {
    for (const char* payment : {"0", "1"})
        for (const Fixture& f : fixtures) {
            SCOPED_TRACE(std::string(f.name) + (payment[0] == '0' ? " permit" : " meter"));
            InstructionsRig r(f.category, f.size);
            for (const auto& [line, text] : f.mailType)
                r.mailType(line, text);
            for (const auto& [line, text] : f.periodical)
                r.periodical(line, text);
            r.ctx().lists.statementList.set(StatementSettings::Payment, payment);
            const SortedMailing& mailing = r.sort(f.pieces);
            StatementPostage statement = computeStatementPostage(mailing);
            SummaryPostage summary = computeSummaryPostage(mailing);
            int32_t rowPieces = 0;
            size_t row = 0;
            for (size_t i = 0; i < statement.block.lines.size(); ++i) {
                const StatementLine& line = statement.lines.at(i);
                if (statement.block.lines[i].isPoundLine() && payment[0] == '1') {
                    EXPECT_EQ(summary.rows.at(row - 1).rateText, line.rate) << i;
                    EXPECT_EQ(summary.rows.at(row - 1).quantity, line.quantity) << i;
                    continue;
                }
                ASSERT_LT(row, summary.rows.size());
                EXPECT_EQ(summary.rows[row].quantity, line.quantity) << i;
                if (!summary.rows[row].line.isPoundLine())
                    rowPieces += strToInt(summary.rows[row].quantity);
                ++row;
            }
            EXPECT_EQ(row, summary.rows.size());
            double statementTotal =
                statement.periodical ? statement.periodical->totalPostage : statement.total;
            if (summary.periodical)
                rowPieces += summary.periodical->inCountyLinePieces;
            EXPECT_EQ(rowPieces, mailing.pieceCount()) << "every piece on a row";
            EXPECT_GT(statementTotal, 0);

            r.printInstructions();
            std::string total = moneyBeside(r, f.totalCaption);
            int decimals = static_cast<int>(total.size() - total.find('.') - 1);
            EXPECT_EQ(total, formatMoney(statementTotal, decimals, MoneyStyle::Currency));
            int makes = 0;
            for (const DrawnText& t : r.texts())
                makes += t.text.rfind("Make ", 0) == 0;
            EXPECT_EQ(makes, static_cast<int32_t>(mailing.containers().size()))
                << "a make-up sentence for every container";
        }
}

// Co-sacked flats of 5 oz: a 3/5 automation piece pays 0.040 and 5/16 lb at 0.664, 0.2475 in
// all; by meter each piece bears 0.248, and the summary charges that, as the statement does.
TEST(SummaryPostage, PostageAffixedByMeterIsChargedAtTheRoundedPieceRate) {
    InstructionsRig r("4", "1");
    r.mailType(4, "1");
    r.mailType(5, "5");
    r.ctx().lists.statementList.set(StatementSettings::Payment, "1");
    const SortedMailing& mailing = r.sort("75201x100");
    const RateTable& rates = r.ctx().lists.ratesList;
    ASSERT_EQ(rates.rateText(RateTable::PoundNoEntry), "0.664");
    SummaryPostage summary = computeSummaryPostage(mailing);
    const SummaryPostageRow& automation = summary.rows.at(0);
    EXPECT_EQ(automation.line.label, "3/5 Automation");
    EXPECT_EQ(automation.quantity, "100");
    EXPECT_EQ(automation.rateText, "0.248");
    EXPECT_EQ(automation.amountText, "$24.8000");
    EXPECT_EQ(summary.rows.at(1).line.label, "Basic Automation") << "no pound row of its own";
    EXPECT_DOUBLE_EQ(summary.total, 24.8);
}

TEST(SummaryPostage, PeriodicalsEndTheFirstPageWithThePoundTableAndGoOnOverleaf) {
    InstructionsRig r("6", "0");
    r.mailType(4, "1");
    r.mailType(5, "3");
    r.periodical(2, "10");
    r.periodical(3, "2");
    // 10 copies of 3 oz to zone 5 weigh 1.875 lb: 2 pounds; Nonprofit publications with 10 %
    // advertising pay no advertising pounds.
    const SortedMailing& mailing = r.sort("80001x10, 75201x90");
    r.printInstructions();
    DrawnText zone5 = r.only("5");
    std::vector<std::string> row;
    for (const DrawnText& t : r.texts())
        if (t.sheet == 1 && t.y == zone5.y)
            row.push_back(t.text);
    ASSERT_GE(row.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(row.begin(), row.begin() + 4),
              (std::vector<std::string>{"5", "10", "2", "0"}));
    EXPECT_EQ(r.only("Total Pound Rate Postage (Line 13)").sheet, 1);
    EXPECT_EQ(r.only("(Postage Computation Continued on Next Page)").sheet, 1);
    DrawnText overleaf = r.only("Outside-County Piece Rate:");
    EXPECT_EQ(overleaf.sheet, 2);
    EXPECT_EQ(r.count(" - Page 2", true), 1);
    EXPECT_EQ(r.only("Line 43: 5% discount " +
                     currencyText(*computeSummaryPostage(mailing).periodical->reductionBase) +
                     " x .05=")
                  .sheet,
              2);
    EXPECT_EQ(r.only("Total Postage (Enter on front.)").sheet, 2);
    EXPECT_EQ(r.only("Specific Traying and Grouping Instructions for this Mailing:").sheet, 3)
        << "the containers begin on the page after the summary's second";
    EXPECT_EQ(r.count(" - Page 3", true), 1);
}

TEST(PackageInstructions, SayWhatEachPackageIsAndHowItIsMarked) {
    InstructionsRig packaged("RNML");
    int32_t tray = packaged.rig.container("CITY ST 12345", 15);
    int32_t g = packaged.rig.group("5D 12345", 15, tray);
    packaged.rig.zip(12345, 15, g);
    PackageInstructionLines lines =
        packageInstructionLines(packaged.built(), g, ContainerListing::Package);
    EXPECT_EQ(lines.what, "A 5-digit package of addresses in 12345, totaling 15 pieces.");
    EXPECT_EQ(lines.marking, "Label this package with a red D sticker, or use ******5-DIGIT 12345 "
                             "as the first line of each address.");

    InstructionsRig coSacked("PCOF");
    int32_t sack = coSacked.rig.container("CITY ST 12345", 1);
    int32_t nonbarcoded = coSacked.rig.group("5D 12345", 1, sack, true);
    coSacked.rig.zip(-12345, 1, nonbarcoded);
    EXPECT_EQ(
        packageInstructionLines(coSacked.built(), nonbarcoded, ContainerListing::Package).what,
        "A 5-digit package of nonbarcoded addresses in 12345, totaling 1 piece.");

    // The label lists name their distribution centres "ADC ..." already; the word is not
    // doubled, and a bare name gets it.
    InstructionsRig adc("RNAF");
    int32_t adcSack = adc.rig.container("$ADC BUFFALO NY 140", 20, "Basic");
    int32_t adcGroup = adc.rig.group("AD 2", 12, adcSack);
    int32_t aadcGroup = adc.rig.group("AA 2", 8, adcSack);
    adc.rig.zip(14001, 20, adcGroup);
    const SortedMailing& mailing = adc.built();
    EXPECT_EQ(adc.ctx().lists.adcLabels[2], "ADC BUFFALO NY 140");
    EXPECT_EQ(packageInstructionLines(mailing, adcGroup, ContainerListing::Package).marking,
              "Label this package with a pink A sticker, or use ******ALL FOR ADC BUFFALO NY 140 "
              "as the first line of each address.");
    EXPECT_EQ(packageInstructionLines(mailing, aadcGroup, ContainerListing::Package).what,
              "An AADC package of addresses in AADC BUFFALO NY 140, totaling 8 pieces.");
    adc.ctx().lists.adcLabels[2] = "BUFFALO NY 140";
    EXPECT_EQ(packageInstructionLines(mailing, adcGroup, ContainerListing::Package).what,
              "An ADC package of addresses in ADC BUFFALO NY 140, totaling 12 pieces.");

    // Automation letters in 5-digit trays have no packages: the ZIP lines follow the block.
    InstructionsRig trays("RAL");
    trays.rig.filledContainer("CITY ST 12345", 150, 12345, "5D 12345");
    trays.built();
    trays.printInstructions();
    EXPECT_EQ(trays.count("No sticker or endorsement line is required."), 0);
    DrawnText heading = trays.only("This tray should contain the following zip codes, which "
                                   "should be banded to prevent shifting:");
    DrawnText zip = trays.only("12345  150 pieces");
    EXPECT_EQ(zip.y, heading.y + 20);
}

// A sentence longer than the line from its indent to 36 pt before the right edge goes on
// onto the next line at the same indent; what follows moves down with it.
TEST(PackageInstructions, ASentenceLongerThanItsLineWrapsAtItsIndent) {
    InstructionsRig r("RNAF");
    int32_t sack = r.rig.container("$ADC BUFFALO NY 140", 20, "Basic");
    r.rig.zip(14001, 20, r.rig.group("AD 2", 20, sack));
    const SortedMailing& mailing = r.built();
    std::string marking = packageInstructionLines(mailing, 0, ContainerListing::Package).marking;
    ASSERT_GT(72 + 5 * static_cast<int>(marking.size()), 612 - 36) << "too long for one line";
    r.printInstructions();
    DrawnText what =
        r.only("An ADC package of addresses in ADC BUFFALO NY 140, totaling 20 pieces.");
    DrawnText heading =
        r.only("This package should contain pieces for each of the following zip codes:");
    std::vector<DrawnText> lines;
    for (const DrawnText& t : r.texts())
        if (t.sheet == what.sheet && t.y > what.y && t.y < heading.y)
            lines.push_back(t);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text + " " + lines[1].text, marking);
    EXPECT_EQ(lines[0].y, what.y + 18);
    EXPECT_EQ(lines[1].y, lines[0].y + 12);
    for (const DrawnText& line : lines) {
        EXPECT_EQ(line.x, 72);
        EXPECT_LE(line.x + 5 * static_cast<int>(line.text.size()), 612 - 36) << line.text;
    }
    EXPECT_EQ(heading.y, lines[1].y + 12);
    EXPECT_EQ(r.only("14001  20 pieces").y, heading.y + 20);
}

TEST(ZipLines, FourToARowAndTheNextPackageBelow) {
    InstructionsRig r("RNML");
    int32_t tray = r.rig.container("DALLAS TX 752", 40, "3/5-Digit");
    int32_t first = r.rig.group("3D 752", 28, tray);
    for (int32_t zip : {75201, 75202, 75203, 75204})
        r.rig.zip(zip, zip == 75201 ? 1 : 6, first);
    r.rig.zip(75205, 9, first);
    int32_t second = r.rig.group("3D 753", 12, tray);
    r.rig.zip(75301, 12, second);
    r.built();
    r.printInstructions();
    std::vector<DrawnText> zips;
    for (const DrawnText& t : r.texts())
        if (t.text.find("  ") == 5 && t.text.find(" piece") != std::string::npos)
            zips.push_back(t);
    ASSERT_EQ(zips.size(), 6u);
    EXPECT_EQ(zips[0].text, "75201  1 piece");
    EXPECT_EQ(zips[5].text, "75301  12 pieces");
    const int column = (612 - 72) / 4;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(zips[i].x, 72 + i * column);
        EXPECT_EQ(zips[i].y, zips[0].y);
    }
    EXPECT_EQ(zips[4].x, 72);
    EXPECT_EQ(zips[4].y, zips[0].y + 14);
    DrawnText next = r.only("A 3-digit package of addresses in 753, totaling 12 pieces.");
    EXPECT_EQ(next.y, zips[4].y + 20) << "below the partly filled row";
}

// Bare ZIP lines of one tray run on in the same rows; the next tray begins below them.
TEST(ZipLines, TheNextTrayNeverOverprintsTheLastRow) {
    InstructionsRig r("RAL");
    int32_t k1 = r.rig.container("DALLAS TX 752", 120, "3-Digit");
    r.rig.zip(75201, 60, r.rig.group("3D 752", 60, k1));
    r.rig.zip(75202, 60, r.rig.group("3D 752", 60, k1));
    r.rig.filledContainer("DALLAS TX 75301", 150, 75301, "5D 75301");
    r.built();
    r.printInstructions();
    DrawnText first = r.only("75201  60 pieces");
    DrawnText second = r.only("75202  60 pieces");
    EXPECT_EQ(second.y, first.y) << "one row for the tray";
    DrawnText make = r.only("Make a 1' mm-type 5-digit tray totaling 150 pieces in 75301.");
    EXPECT_EQ(make.y, first.y + 20 + 6);
}

TEST(RejectedZips, EachRecordWithItsProblemOrNoneNoted) {
    InstructionsRig r("RAL");
    r.rig.filledContainer("CITY ST 12399", 150, 12399, "5D 12399");
    r.built({{.zip = 123, .rejection = ZipRejection::Form},
             {.zip = 123, .rejection = ZipRejection::NotServed},
             {.zip = 12345, .rejection = ZipRejection::Zip4Missing}});
    r.printInstructions();
    auto row = [&](const std::string& zip) {
        std::vector<std::string> cells;
        DrawnText z = r.only(zip);
        for (const DrawnText& t : r.texts())
            if (t.sheet == z.sheet && t.y == z.y)
                cells.push_back(t.text);
        return cells;
    };
    EXPECT_EQ(row("123"), (std::vector<std::string>{"123", "151", "rejected",
                                                    "Zip code has too few or too many digits."}));
    EXPECT_EQ(row("00123"), (std::vector<std::string>{"00123", "152", "rejected",
                                                      "There is no post office with this zip "
                                                      "code."}));
    EXPECT_EQ(row("12345"), (std::vector<std::string>{"12345", "153", "rejected",
                                                      "Automation mailings require all 9 "
                                                      "digits."}));
    DrawnText record = r.only("151");
    EXPECT_EQ(record.x + width12("151"), 184) << "record numbers end at 184 pt";
    EXPECT_EQ(r.count("No problems were noted."), 0);

    // No rejects: the table's heads and the note. prefs.dat line 1 "1" leaves the list out
    // of the instructions, never out of the verification report.
    InstructionsRig clean("RAL");
    clean.rig.filledContainer("CITY ST 12345", 150, 12345, "5D 12345");
    clean.built();
    clean.printInstructions();
    EXPECT_EQ(clean.count("Rejected Zip Codes:"), 1);
    EXPECT_EQ(clean.count("No problems were noted."), 1);
    clean.ctx().lists.prefsList[1] = "1";
    clean.rig.printer.clearLog();
    clean.printInstructions();
    EXPECT_EQ(clean.count("Rejected Zip Codes:"), 0);
    clean.rig.printer.clearLog();
    clean.printVerification();
    EXPECT_EQ(clean.count("Rejected Zip Codes:"), 1);
    EXPECT_EQ(clean.count("Verification Report"), 1);
    EXPECT_EQ(clean.count("Software Settings:"), 0);
}

namespace {

// A letters mailing of several pages: 12 trays of 5-digit packages.
InstructionsRig& manyPages(InstructionsRig& r) {
    for (int32_t i = 0; i < 12; ++i) {
        std::string zip = intToStr(75201 + i);
        r.rig.filledContainer("DALLAS TX " + zip, 20 + i, 75201 + i, "5D " + zip);
    }
    r.built({{.zip = 123, .rejection = ZipRejection::Form}});
    return r;
}

// The texts of the pages from `from` on, each with its page number from the page header of
// its sheet, so that prints of different ranges can be compared.
std::vector<std::string> pagesFrom(const InstructionsRig& r, int firstPage) {
    std::vector<std::string> out;
    for (const DrawnText& t : r.texts())
        out.push_back(std::to_string(t.sheet + firstPage - 1) + " " + std::to_string(t.x) + " " +
                      std::to_string(t.y) + " " + t.text);
    return out;
}

} // namespace

TEST(PageRange, ARangePrintsThePagesOfTheFullPrint) {
    for (const char* classCode : {"RNML", "PNAL"}) {
        SCOPED_TRACE(classCode);
        InstructionsRig full(classCode);
        manyPages(full).printInstructions();
        int pages = full.rig.printer.pageCount();
        ASSERT_GE(pages, 5);
        std::vector<std::string> all = pagesFrom(full, 1);
        for (int from : {2, 3, 4}) {
            InstructionsRig part(classCode);
            manyPages(part).afterSortChoice(from, from);
            part.printInstructions();
            std::vector<std::string> expected;
            std::string prefix = std::to_string(from) + " ";
            for (const std::string& line : all)
                if (line.rfind(prefix, 0) == 0)
                    expected.push_back(line);
            EXPECT_EQ(pagesFrom(part, from), expected) << "From " << from << " To " << from;
            EXPECT_EQ(part.rig.printer.pageCount(), 1) << "one sheet";
            EXPECT_EQ(part.count(" - Page " + std::to_string(from), true), 1);
        }
    }
}

TEST(PageRange, VerificationFromPageTwoDrawsNothingOfPageOne) {
    InstructionsRig r("RAL");
    r.rig.filledContainer("CITY ST 12345", 150, 12345, "5D 12345");
    r.built(std::vector<Piece>(60, {.zip = 123, .rejection = ZipRejection::Form}));
    r.printVerification(2, 9999);
    EXPECT_EQ(r.count("Verification Report"), 0);
    EXPECT_EQ(r.count("Rejected Zip Codes Information:"), 0);
    EXPECT_EQ(r.count("Rejected Zip Codes:"), 0) << "its head is on page 1";
    std::vector<DrawnText> texts = r.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text.substr(texts[0].text.size() - 9), " - Page 2");
    EXPECT_EQ(texts[0].text.rfind("Quillan Verification Report - ", 0), 0u);
    for (const DrawnText& t : texts)
        EXPECT_EQ(t.sheet, 1);
}

TEST(Summary, LogoBoxWithOrWithoutItsPicture) {
    InstructionsRig r("RAL");
    r.rig.filledContainer("CITY ST 12345", 150, 12345, "5D 12345");
    r.built();
    r.printInstructions();
    std::vector<std::string> logo = r.rig.entries("bitmap");
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_NE(logo[0].find(" missing"), std::string::npos);
    EXPECT_EQ(r.rig.entries("roundrect").size(), 1u) << "the box is drawn all the same";
    EXPECT_EQ(r.count("Mail Preparation Instructions"), 1);

    std::filesystem::copy_file(std::string(QUILLAN_SHIPPED_TABLES) + "/" + LogoFileName,
                               r.ctx().dataFile(LogoFileName));
    r.rig.printer.clearLog();
    r.printInstructions();
    logo = r.rig.entries("bitmap");
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_EQ(logo[0].find(" missing"), std::string::npos);
}

// What would stop the instructions half-way is found before the document begins.
TEST(Summary, ABadRateOrTagSizeStopsTheReportBeforeItBegins) {
    InstructionsRig r("RAL");
    r.rig.filledContainer("CITY ST 12345", 150, 12345, "5D 12345");
    r.built();
    r.ctx().lists.ratesList[6] = "0.2a";
    EXPECT_THROW(r.printInstructions(), ConvertError);
    r.ctx().lists.ratesList[6] = "0.2";
    r.ctx().lists.fontsList[2] = "big";
    EXPECT_THROW(r.printInstructions(), ConvertError);
    EXPECT_TRUE(r.rig.entries("begindoc").empty());
    EXPECT_FALSE(r.rig.printer.printing());
}
