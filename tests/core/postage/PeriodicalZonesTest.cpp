// Periodicals pieces by destination, their pounds, and the pound table of the statement.

#include "core/postage/PeriodicalZones.h"
#include "core/money/Money.h"
#include "tests/core/postage/PeriodicalFixtures.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

class PeriodicalZones : public ::testing::Test {
protected:
    PeriodicalZones() { fixture.useClass(MailClass::PNAF); }

    PeriodicalEntryKind kindFor(const std::string& zip, const std::string& type) {
        fixture.mailer(3, zip);
        fixture.mailer(4, type);
        return PeriodicalZoneClassifier(fixture.mailing()).entryKind();
    }

    // One group in one sack holding ZIP groups of pieces (and in-county pieces).
    int32_t groupOf(std::initializer_list<std::array<int32_t, 3>> zips) {
        int32_t pieces = 0;
        for (const auto& zip : zips)
            pieces += zip[1];
        int32_t g = fixture.group(pieces, "MA", fixture.container(pieces, "%MIXED"));
        for (const auto& [zip, zipPieces, inCounty] : zips)
            fixture.zipGroup(zip, zipPieces, inCounty, g);
        return g;
    }

    test::PostageFixture fixture;
};

} // namespace

TEST(PeriodicalPounds, UnderAPoundIsOneAndHalvesRoundUp) {
    EXPECT_EQ(periodicalPoundsOf(10, 1), 1); // 0.625
    EXPECT_EQ(periodicalPoundsOf(24, 1), 2); // 1.5
    EXPECT_EQ(periodicalPoundsOf(23, 1), 1); // 1.4375
    EXPECT_EQ(periodicalPoundsOf(0, 1), 0);
    EXPECT_EQ(periodicalPounds(2.49), 2);
    EXPECT_EQ(periodicalPounds(2.5), 3);
    EXPECT_EQ(periodicalPounds(0.4), 1);
}

TEST_F(PeriodicalZones, EntryKindComesFromTheEntryTypeAndTheCharts) {
    EXPECT_EQ(kindFor("75201", "0"), PeriodicalEntryKind::Local);
    EXPECT_EQ(kindFor("75201", "1"), PeriodicalEntryKind::Scf);
    EXPECT_EQ(kindFor("75201", "2"), PeriodicalEntryKind::Adc);
    EXPECT_EQ(kindFor("75201", "5"), PeriodicalEntryKind::Adc);
    // The SCF of 750 has the name of the ADC once "ADC " is taken off it.
    fixture.ctx.lists.scfLabels.set(7, "NORTH TEXAS TX 75099");
    EXPECT_EQ(kindFor("75001", "1"), PeriodicalEntryKind::Combined);
    EXPECT_EQ(kindFor("75001", "2"), PeriodicalEntryKind::Combined);
    EXPECT_EQ(kindFor("75001", "0"), PeriodicalEntryKind::Local);
    // Automation letters compare with their AADC ("AADC " taken off).
    fixture.useClass(MailClass::PAL);
    EXPECT_EQ(kindFor("75001", "2"), PeriodicalEntryKind::Combined);
    fixture.ctx.lists.aadcStandardChart.set(750, "0");
    EXPECT_EQ(kindFor("75001", "2"), PeriodicalEntryKind::Adc);
}

TEST_F(PeriodicalZones, PiecesGoInCountyThenToTheEntryScfOrAdcThenToTheirZone) {
    fixture.periodical(4, "t");
    int32_t dallas = groupOf({{75201, 10, 3}, {75202, 4, 4}, {-75301, 6, 0}});
    int32_t away = groupOf({{80001, 5, 0}, {9001, 4, 0}, {96701, 2, 0}, {75001, 7, 0}});

    // Local entry: every outside-county piece has a zone.
    PeriodicalZoneCounts counts = classifyZoneCounts(fixture.mailing(), dallas);
    EXPECT_EQ(counts.inCounty, 7);
    EXPECT_EQ(counts.zones[1], 7);
    EXPECT_EQ(counts.zones[2], 6);
    EXPECT_EQ(counts.summary(), "IC/1-2");
    counts = classifyZoneCounts(fixture.mailing(), away);
    EXPECT_EQ(counts.summary(), "1-2/5/8");
    EXPECT_EQ(counts.unzoned, 4); // prefix 090 has zone 0
    EXPECT_EQ(counts.unzonedZips, std::vector<int32_t>{9001});

    // SCF entry at Dallas: 751 to 753 are its SCF; 750 has an SCF of its own.
    fixture.mailer(4, "1");
    counts = classifyZoneCounts(fixture.mailing());
    EXPECT_EQ(counts.scf, 7 + 6);
    EXPECT_EQ(counts.zones[2], 7);
    EXPECT_EQ(counts.summary(), "IC/SCF/1-2/5/8");
    // ADC entry: 750 to 753 are its ADC.
    fixture.mailer(4, "2");
    counts = classifyZoneCounts(fixture.mailing());
    EXPECT_EQ(counts.adc, 7 + 6 + 7);
    EXPECT_EQ(counts.total(), 7 + 20 + 5 + 2);
    // Without in-county rates the in-county marks are outside-county pieces like any other.
    fixture.periodical(4, "f");
    EXPECT_EQ(classifyZoneCounts(fixture.mailing()).adc, 10 + 4 + 6 + 7);
}

TEST_F(PeriodicalZones, PiecesWithoutAZoneAreNamedInAWarning) {
    fixture.ctx.lists.zoneChart.set(800, "9");
    groupOf({{80001, 5, 0}, {9001, 4, 0}, {73001, 3, 0}});
    PeriodicalZoneCharges charges = computePeriodicalZoneCharges(fixture.mailing());
    EXPECT_EQ(charges.totals.pieces, 3);
    EXPECT_EQ(charges.unzonedPieces, 9);
    EXPECT_EQ(unzonedWarning(charges),
              "There is an error in your zone chart: no zone from 1 to 8 was found for 80001, "
              "09001. Their 9 pieces are not in the zone charges.");

    fixture.ctx.lists.zoneChart.set(800, "5");
    fixture.ctx.lists.zoneChart.set(90, "4");
    EXPECT_EQ(unzonedWarning(computePeriodicalZoneCharges(fixture.mailing())), std::nullopt);
}

TEST_F(PeriodicalZones, AdvertisingPoundsAreAShareOfEachRowsPounds) {
    test::regularPeriodicals(fixture);
    PeriodicalZoneCharges charges = computePeriodicalZoneCharges(fixture.mailing());
    ASSERT_EQ(charges.rows.size(), 9u);
    auto row = [&](size_t r) {
        const ZoneChargeRow& z = charges.rows[r];
        return std::string(z.label) + " " + std::to_string(z.pieces) + " " +
               std::to_string(z.pounds) + " " + std::to_string(z.advertisingPounds) + " " +
               z.rateText + " " + amountText(z.charge);
    };
    EXPECT_EQ(row(0), "DSCF 40 5 1 0.150 0.1500");
    EXPECT_EQ(row(1), "DADC 0 0 0 0.170 0.0000");
    EXPECT_EQ(row(2), "1 & 2 0 0 0 0.190 0.0000");
    EXPECT_EQ(row(3), "3 30 4 1 0.200 0.2000");
    EXPECT_EQ(row(5), "5 20 3 1 0.270 0.2700");
    EXPECT_EQ(row(7), "7 5 1 1 0.380 0.3800");
    EXPECT_EQ(charges.totals.pounds, 13);
    EXPECT_EQ(charges.totals.advertisingPounds, 4);
    EXPECT_DOUBLE_EQ(charges.advertisingCharge, 1.0);
    EXPECT_EQ(charges.nonadvertisingPounds, 9);
    EXPECT_DOUBLE_EQ(charges.nonadvertisingCharge, 1.35);
    EXPECT_DOUBLE_EQ(charges.poundCharge, 2.35);

    // Up to 10 % advertising, Classroom and Nonprofit pay no advertising pounds.
    fixture.periodical(2, "10");
    fixture.periodical(3, "2");
    charges = computePeriodicalZoneCharges(fixture.mailing());
    EXPECT_EQ(charges.totals.advertisingPounds, 0);
    EXPECT_EQ(charges.nonadvertisingPounds, 13);
    // A Regular publication does: 10 % of 5, 4, 3 and 1 pounds is a pound each.
    fixture.periodical(3, "0");
    EXPECT_EQ(computePeriodicalZoneCharges(fixture.mailing()).totals.advertisingPounds, 4);
}
