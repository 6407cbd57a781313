// Which pieces a rate category counts: flats by their group and sack, letters by their
// tray, and the in-county pieces taken out on the way.

#include "core/postage/PieceCount.h"
#include "core/presort/PresortRules.h"
#include "tests/core/postage/PostageFixture.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

using L = RateLevel;
using E = EntryDiscount;

class PieceCount : public ::testing::Test {
protected:
    int32_t count(L level, E entry = E::None, CoSackedPart part = CoSackedPart::Automation) {
        SortedMailing m = fixture.mailing();
        return countRatePieces(m, {level, entry, part}, tally);
    }

    test::PostageFixture fixture;
    InCountyTally tally;
};

} // namespace

TEST_F(PieceCount, StandardAutomationFlatGroupsNeedTenPiecesForTheThreeFiveRate) {
    fixture.useClass(MailClass::RAF);
    int32_t local = fixture.container(44, "DALLAS TX 752");
    fixture.groupOfZip(75201, 10, "5D 75201", local);
    fixture.groupOfZip(75202, 9, "5D 75202", local);
    fixture.groupOfZip(75301, 10, "3D 753", local);
    fixture.groupOfZip(75001, 15, "AD 5", local);
    int32_t bmc = fixture.container(12, "BMC DALLAS", "DBMC");
    fixture.groupOfZip(1234, 12, "5D 01234", bmc);

    EXPECT_EQ(count(L::ThreeFiveDigit), 20);
    EXPECT_EQ(count(L::Basic), 9 + 15); // too small, and no 3- or 5-digit destination
    EXPECT_EQ(count(L::ThreeFiveDigit, E::Dbmc), 12);
    EXPECT_EQ(count(L::Basic, E::Dbmc), 0);
    EXPECT_EQ(count(L::ThreeFiveDigit, E::Dscf), 0);
}

TEST_F(PieceCount, CoSackedFlatsCountTheirTwoPartsApart) {
    fixture.useClass(MailClass::RCOF);
    int32_t sack = fixture.container(160, "DALLAS TX 75201");
    fixture.groupOfZip(75201, 30, "5D 75201", sack);
    fixture.groupOfZip(-75201, 130, "5D 75201", sack, 0, true);
    EXPECT_EQ(count(L::ThreeFiveDigit, E::None, CoSackedPart::Automation), 30);
    // The nonautomation part qualifies by its sack: 160 pieces reach 125.
    EXPECT_EQ(count(L::ThreeFiveDigit, E::None, CoSackedPart::Nonautomation), 130);
    EXPECT_EQ(count(L::Basic, E::None, CoSackedPart::Nonautomation), 0);
    EXPECT_EQ(count(L::ThreeFiveDigit, E::Dbmc, CoSackedPart::Automation), 0);
}

TEST_F(PieceCount, PeriodicalAutomationFlatGroupsNeedSixPiecesForTheirLevel) {
    fixture.useClass(MailClass::PAF);
    int32_t sack = fixture.container(48, "%MIXED ADC", "DBMC");
    fixture.groupOfZip(75201, 6, "5D 75201", sack);
    fixture.groupOfZip(75202, 5, "5D 75202", sack);
    fixture.groupOfZip(75301, 6, "3D 753", sack);
    fixture.groupOfZip(75001, 7, "3S 750", sack);
    fixture.groupOfZip(80001, 6, "AD 7", sack);
    fixture.groupOfZip(14001, 18, "MA", sack);
    // Periodicals take every sack, whatever its entry.
    EXPECT_EQ(count(L::FiveDigit, E::Dscf), 6);
    EXPECT_EQ(count(L::ThreeDigit), 6 + 7);
    EXPECT_EQ(count(L::Basic), 5 + 6 + 18);
}

TEST_F(PieceCount, NonautomationFlatsQualifyByTheirSack) {
    fixture.useClass(MailClass::PNAF);
    for (const char* label : {"%MIXED ADC", "$ADC NORTH TEXAS", "SCF DALLAS TX 752",
                              "DALLAS TX 752", "DALLAS TX 75201"}) {
        int32_t sack = fixture.container(3, label);
        fixture.groupOfZip(75201, 3, "5D 75201", sack);
    }
    EXPECT_EQ(count(L::Basic), 9);
    EXPECT_EQ(count(L::ThreeDigit), 3);
    EXPECT_EQ(count(L::FiveDigit), 3);
}

TEST_F(PieceCount, StandardNonautomationSacksNeedTheirMinimumForTheThreeFiveRate) {
    fixture.useClass(MailClass::RNAF);
    for (int32_t pieces : {124, 125, 59, 60}) {
        int32_t sack = fixture.container(pieces, "DALLAS TX 752");
        fixture.groupOfZip(75201, pieces, "3D 752", sack);
    }
    const MailTypeSettings& mailType = fixture.ctx.lists.mailTypeList;
    fixture.mailType(4, "1");
    fixture.mailType(5, "4.0"); // Trunc(240 / 4 + 0.9999) = 60 pieces
    EXPECT_EQ(standardFlatSackMinimum(mailType), 60);
    EXPECT_EQ(count(L::ThreeFiveDigit), 124 + 125 + 60);
    EXPECT_EQ(count(L::Basic), 59);
    fixture.mailType(5, "1.92");
    EXPECT_EQ(standardFlatSackMinimum(mailType), 125);
    fixture.mailType(5, "2.0"); // Trunc(120 + 0.9999)
    EXPECT_EQ(standardFlatSackMinimum(mailType), 120);
    fixture.mailType(4, "0");
    fixture.mailType(5, "4.0");
    EXPECT_EQ(standardFlatSackMinimum(mailType), 125);
    EXPECT_EQ(count(L::ThreeFiveDigit), 125);
    EXPECT_EQ(count(L::Basic), 124 + 59 + 60);
}

TEST_F(PieceCount, LettersCountTheTraysOfTheirLevelAndEntry) {
    fixture.useClass(MailClass::RAL);
    fixture.container(150, "DALLAS TX 75201", "None", "5-Digit");
    fixture.container(160, "DALLAS TX 75202", "DSCF", "5-Digit");
    fixture.container(40, "%MIXED AADC", "None", "Mixed AADC");
    EXPECT_EQ(count(L::FiveDigit), 150);
    EXPECT_EQ(count(L::FiveDigit, E::Dscf), 160);
    EXPECT_EQ(count(L::MixedAadc), 40);
    EXPECT_EQ(count(L::Aadc), 0);
    // Periodicals letters take every tray of the level.
    fixture.useClass(MailClass::PAL);
    EXPECT_EQ(count(L::FiveDigit), 310);
}

TEST_F(PieceCount, InCountyPiecesLeaveTheCountForTheTallyOfTheirLevel) {
    fixture.useClass(MailClass::PCOF);
    fixture.periodical(4, "t");
    int32_t sack = fixture.container(45, "DALLAS TX 75201", "None", "5-Digit");
    int32_t barcoded = fixture.group(25, "5D 75201", sack);
    fixture.zipGroup(75201, 20, 8, barcoded);
    fixture.zipGroup(75202, 5, 5, barcoded);
    fixture.groupOfZip(-75201, 20, "5D 75201", sack, 4, true);

    EXPECT_EQ(count(L::FiveDigit, E::None, CoSackedPart::Automation), 25 - 8 - 5);
    EXPECT_EQ(count(L::FiveDigit, E::None, CoSackedPart::Nonautomation), 20 - 4);
    EXPECT_EQ(tally.pieces, (std::array<int32_t, 3>{0, 0, 13}));
    EXPECT_EQ(tally.nonbarcodedPieces, (std::array<int32_t, 3>{0, 0, 4}));

    // Levels without in-county rates take the pieces out without tallying them.
    SortedMailing m = fixture.mailing();
    InCountyTally other;
    EXPECT_EQ(TallyGroupPiecesByLevel(m, barcoded, 100, L::Aadc, other), 87);
    EXPECT_EQ(TallyContainerPiecesByLevel(m, sack, 45, L::MixedAadc, other), 28);
    EXPECT_EQ(other, InCountyTally{});
    // Trays never split off the pieces without ZIP+4.
    EXPECT_EQ(TallyContainerPiecesByLevel(m, sack, 45, L::Basic, other), 28);
    EXPECT_EQ(other.pieces[0], 17);

    // Without in-county rates nothing leaves the count.
    fixture.periodical(4, "f");
    tally = {};
    EXPECT_EQ(count(L::FiveDigit, E::None, CoSackedPart::Automation), 25);
    EXPECT_EQ(tally, InCountyTally{});
}
