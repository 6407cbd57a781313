// Which rates.dat line every rate line of every class reads, with a rates.dat whose line k
// holds k / 10000: the rate a line reads gives its line away.

#include "core/postage/RateBlocks.h"
#include "core/Convert.h"
#include "core/postage/StatementPostage.h"
#include "tests/core/postage/PostageFixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillan;

namespace {

struct SampleMailing {
    MailClass mailClass;
    std::string rateCategory = "0"; // mailtype.dat line 2
    std::string exactWeight = "0";  // line 4
    std::string weight = "1";       // line 5
    std::string periodicalCategory = "0";
};

class RateBlocks : public ::testing::Test {
protected:
    RateBlocks() { fixture.indexRates(); }

    RateBlock blockOf(const SampleMailing& m) {
        fixture.mailType(2, m.rateCategory);
        fixture.mailType(4, m.exactWeight);
        fixture.mailType(5, m.weight);
        fixture.periodical(3, m.periodicalCategory);
        const SettingsLists& l = fixture.ctx.lists;
        return rateBlockFor(m.mailClass, l.mailTypeList, l.periodicalList);
    }

    // The line each rate line reads, told by the rate it gets.
    std::string linesRead(const SampleMailing& m) {
        std::string lines;
        for (const RateBlockLine& line : blockOf(m).lines) {
            double rate = rateOf(fixture.ctx.lists.ratesList, line).value;
            lines += (lines.empty() ? "" : " ") + std::to_string(std::lround(rate * 10000));
        }
        return lines;
    }

    // Label, level, entry, the line read, the co-sacked part and the row variant.
    std::vector<std::string> describe(const SampleMailing& m) {
        std::vector<std::string> rows;
        for (const RateBlockLine& line : blockOf(m).lines) {
            double rate = rateOf(fixture.ctx.lists.ratesList, line).value;
            rows.push_back(std::string(line.label) + "|" +
                           std::string(levelText(line.category.level)) + "|" +
                           std::string(entryText(line.category.entry)) + "|" +
                           std::to_string(std::lround(rate * 10000)) + "|" +
                           (line.category.part == CoSackedPart::Automation ? "A" : "N") + "|" +
                           std::to_string(line.rowVariant));
        }
        return rows;
    }

    test::PostageFixture fixture;
};

} // namespace

TEST_F(RateBlocks, StandardPieceRatedLinesReadTheirBlockForRegularAndNonprofit) {
    // Nonmachinable letters pay the piece rate and the surcharge of line 19 (66).
    EXPECT_EQ(linesRead({MailClass::RNML}), "21 20 27 26 33 32");
    EXPECT_EQ(linesRead({MailClass::RNML, "2"}),
              std::to_string(49 + 66) + " " + std::to_string(48 + 66) + " " +
                  std::to_string(55 + 66) + " " + std::to_string(54 + 66) + " " +
                  std::to_string(61 + 66) + " " + std::to_string(60 + 66));
    EXPECT_EQ(linesRead({MailClass::RML}), "2 1 8 7 14 13");
    EXPECT_EQ(linesRead({MailClass::RML, "2"}), "49 48 55 54 61 60");
    EXPECT_EQ(linesRead({MailClass::RNAF}), "21 20 25 24 29 28");
    EXPECT_EQ(linesRead({MailClass::RNAF, "2"}), "68 67 72 71 76 75");
    // No mixed AADC line with DSCF entry.
    EXPECT_EQ(linesRead({MailClass::RAL}), "6 5 4 3 12 11 10 9 18 17 16");
    EXPECT_EQ(linesRead({MailClass::RAL, "2"}), "53 52 51 50 59 58 57 56 65 64 63");
    EXPECT_EQ(linesRead({MailClass::RAF}), "23 22 27 26 31 30");
    EXPECT_EQ(linesRead({MailClass::RAF, "2"}), "70 69 74 73 78 77");
    // A weight of exactly 3.3 oz is not over the limit.
    EXPECT_EQ(linesRead({MailClass::RML, "0", "1", "3.3"}), "2 1 8 7 14 13");

    EXPECT_EQ(describe({MailClass::RCOF, "2"}),
              (std::vector<std::string>{
                  "3/5 Flat|3/5-Digit|None|70|A|0", "Basic Flat|Basic|None|69|A|1",
                  "3/5 Flat|3/5-Digit|DBMC|74|A|0", "Basic Flat|Basic|DBMC|73|A|1",
                  "3/5 Flat|3/5-Digit|DSCF|78|A|0", "Basic Flat|Basic|DSCF|77|A|1",
                  "3/5 Flat|3/5-Digit|None|68|N|0", "Basic Flat|Basic|None|67|N|1",
                  "3/5 Flat|3/5-Digit|DBMC|72|N|0", "Basic Flat|Basic|DBMC|71|N|1",
                  "3/5 Flat|3/5-Digit|DSCF|76|N|0", "Basic Flat|Basic|DSCF|75|N|1"}));
    EXPECT_EQ(blockOf({MailClass::RCOF}).automationLines, 6u);
    EXPECT_EQ(describe({MailClass::RAL})[3], "Mixed AADC Letter|Mixed AADC|None|3|A|1");
    EXPECT_EQ(describe({MailClass::RNML})[0], "3/5|3/5-Digit|None|21|A|0");
}

TEST_F(RateBlocks, PiecesOverThreePointThreeOuncesAddThePoundRateOfTheirEntry) {
    EXPECT_EQ(linesRead({MailClass::RNML, "0", "1", "4"}), "33 40 32 40 33 41 32 41 33 42 32 42");
    EXPECT_EQ(linesRead({MailClass::RNAF, "2", "1", "4"}), "80 87 79 87 80 88 79 88 80 89 79 89");
    // Nonprofit automation letters: 5-Digit from line 86, DSCF pounds from line 89.
    EXPECT_EQ(linesRead({MailClass::RAL, "2", "1", "3.5"}),
              "86 87 85 87 84 87 83 87 86 88 85 88 84 88 83 88 86 89 85 89 84 89");
    EXPECT_EQ(linesRead({MailClass::RAF, "0", "1", "4"}), "35 40 34 40 35 41 34 41 35 42 34 42");
    EXPECT_EQ(describe({MailClass::RCOF, "0", "1", "4"}),
              (std::vector<std::string>{
                  "3/5 Automation|3/5-Digit|None|35|A|0", "  plus|3/5-Digit|None|40|A|1",
                  "Basic Automation|Basic|None|34|A|1",   "  plus|Basic|None|40|A|1",
                  "3/5 Presorted|3/5-Digit|None|33|N|1",  "  plus|3/5-Digit|None|40|N|1",
                  "Basic Presorted|Basic|None|32|N|1",    "  plus|Basic|None|40|N|1",
                  "3/5 Automation|3/5-Digit|DBMC|35|A|0", "  plus|3/5-Digit|DBMC|41|A|1",
                  "Basic Automation|Basic|DBMC|34|A|1",   "  plus|Basic|DBMC|41|A|1",
                  "3/5 Presorted|3/5-Digit|DBMC|33|N|1",  "  plus|3/5-Digit|DBMC|41|N|1",
                  "Basic Presorted|Basic|DBMC|32|N|1",    "  plus|Basic|DBMC|41|N|1",
                  "3/5 Automation|3/5-Digit|DSCF|35|A|0", "  plus|3/5-Digit|DSCF|42|A|1",
                  "Basic Automation|Basic|DSCF|34|A|1",   "  plus|Basic|DSCF|42|A|1",
                  "3/5 Presorted|3/5-Digit|DSCF|33|N|1",  "  plus|3/5-Digit|DSCF|42|N|1",
                  "Basic Presorted|Basic|DSCF|32|N|1",    "  plus|Basic|DSCF|42|N|1"}));
    // Machinable letters weigh 3.3 oz or less whatever the weight line says: their piece
    // rates, never nothing.
    RateBlock machinable = blockOf({MailClass::RML, "0", "1", "4"});
    EXPECT_EQ(machinable.number, 8);
    EXPECT_EQ(linesRead({MailClass::RML, "0", "1", "4"}), "2 1 8 7 14 13");
}

TEST_F(RateBlocks, FirstClassReadsTheRowOfItsWeightAndCardsTheirOwn) {
    EXPECT_EQ(linesRead({MailClass::FAL, "0", "0", "3.9"}), "98 97 96 95");
    EXPECT_EQ(linesRead({MailClass::FAL, "0", "1", "1.0"}), "98 97 96 95");
    EXPECT_EQ(linesRead({MailClass::FAL, "0", "1", "1.01"}), "102 101 100 99");
    EXPECT_EQ(linesRead({MailClass::FAL, "0", "1", "2.5"}), "106 105 104 103");
    EXPECT_EQ(linesRead({MailClass::FAL, "0", "1", "3.5"}), "110 109 108 107");
    EXPECT_EQ(linesRead({MailClass::FAL, "1", "1", "3.5"}), "114 113 112 111");
    EXPECT_EQ(blockOf({MailClass::FAL, "1"}).number, 5);
    EXPECT_EQ(describe({MailClass::FAL})[3], "Mixed AADC|Mixed AADC|None|95|A|1");
}

TEST_F(RateBlocks, PeriodicalsReadTheirKindByLevel) {
    EXPECT_EQ(linesRead({MailClass::PNAF}), "124 127 130");
    EXPECT_EQ(linesRead({MailClass::PNAL}), "124 127 130");
    EXPECT_EQ(linesRead({MailClass::PAL}), "125 128 131");
    EXPECT_EQ(linesRead({MailClass::PAF}), "126 129 132");
    // Science of Agriculture: nonautomation 5-Digit from line 162.
    EXPECT_EQ(linesRead({MailClass::PNAF, "0", "0", "1", "3"}), "156 159 162");
    EXPECT_EQ(describe({MailClass::PCOF}),
              (std::vector<std::string>{
                  "Nonautomation|Basic|None|124|N|0", "Automation Flats|Basic|None|126|A|0",
                  "Nonautomation|3-Digit|None|127|N|0", "Automation Flats|3-Digit|None|129|A|0",
                  "Nonautomation|5-Digit|None|130|N|0", "Automation Flats|5-Digit|None|132|A|0"}));
}

TEST_F(RateBlocks, EveryLineIsPricedAtTheRateItReads) {
    // Automation letters in trays of every level and entry, permit imprint.
    fixture.useClass(MailClass::RAL);
    fixture.container(100, "DALLAS TX 75201", "None", "5-Digit");
    fixture.container(50, "DALLAS TX 752", "DBMC", "3-Digit");
    fixture.container(10, "%MIXED AADC", "None", "Mixed AADC");
    fixture.container(7, "$AADC NORTH TEXAS", "DSCF", "AADC");
    StatementPostage postage = computeStatementPostage(fixture.mailing());
    ASSERT_EQ(postage.lines.size(), 11u);
    EXPECT_EQ(postage.lines.at(0), (StatementLine{"100", "0.0600", ""}));
    EXPECT_EQ(postage.lines.at(3), (StatementLine{"10", "0.0030", ""}));
    EXPECT_EQ(postage.lines.at(5), (StatementLine{"50", "0.0550", ""}));
    EXPECT_EQ(postage.lines.at(10), (StatementLine{"7", "0.0112", ""}));
    EXPECT_EQ(postage.lines.at(1), (StatementLine{"0", "0.0000", ""}));
    EXPECT_NEAR(postage.total, 0.06 + 0.003 + 0.055 + 0.0112, 1e-12);
    EXPECT_DOUBLE_EQ(postage.lines.lowestPieceRate(), 0.0003);
}

TEST_F(RateBlocks, ARateThatIsNotANumberIsReportedWithItsLineBeforeAnythingPrints) {
    fixture.useClass(MailClass::RAL);
    fixture.rate(16, "0.2a");
    try {
        computeStatementPostage(fixture.mailing());
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "rates.dat, line 16: '0.2a' is not a valid floating point value");
    }
    // A Periodicals zone rate is read even when no piece lies in its zone.
    fixture.useClass(MailClass::PNAF);
    fixture.rate(122, "");
    EXPECT_THROW(computeStatementPostage(fixture.mailing()), ConvertError);
}
