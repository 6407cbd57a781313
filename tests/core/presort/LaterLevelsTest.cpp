// The levels after the 5-digit one, on the test geography (mailer at Dallas 75201, whose
// SCF holds 751-753; see tests/fixtures/geography/README).

#include "core/Convert.h"
#include "core/MailClass.h"
#include "core/presort/AdcLevel.h"
#include "core/presort/FiveDigitLevel.h"
#include "core/presort/MixedLevel.h"
#include "core/presort/OrderKeys.h"
#include "core/presort/PresortDriver.h"
#include "core/presort/PresortError.h"
#include "core/presort/ScfLevel.h"
#include "core/presort/ThreeDigitLevel.h"
#include "tests/core/presort/PresortHarness.h"
#include "tests/support/MailingOf.h"
#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::column;
using test::containerNumbers;
using test::labels;
using test::ownerNumbers;
using test::PresortHarness;
using test::setTables;

namespace {

using Ints = std::vector<int32_t>;
using Flags = std::vector<bool>;
using Texts = std::vector<std::string>;

// `count` ZIP codes from `first` on, `each` pieces apiece, as a piece description.
std::string spread(int first, int count, int each, const char* mark = "") {
    std::string text;
    for (int n = 0; n < count; ++n)
        text += (text.empty() ? "" : ", ") + std::string(mark) + zeroPad(first + n, 5) + "x" +
                std::to_string(each);
    return text;
}

void sort(PresortHarness& h, int category, int size, const std::string& pieces) {
    h.mailClass(category, size);
    h.pieces(pieces);
    test::runPresort(h.work, h.ctx);
    h.expectConsistent();
}

} // namespace

TEST(ThreeDigitLevel, MachinableAreaWithAFiveDigitTrayGetsATrayForTheRest) {
    PresortHarness h;
    h.mailType({{6, "120"}, {8, "1"}});
    sort(h, 0, 0, "01234x120, 01235x40");
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.containers, &Container::pieces), (Ints{120, 40}));
    EXPECT_EQ(test::levelTexts(t), (Texts{"3/5-Digit", "3/5-Digit"}));
    EXPECT_EQ(labels(t.containers), (Texts{"<<CITY NOT READ>> 01234", "SPRINGFIELD MA 012"}));
    EXPECT_EQ(labels(t.sortGroups), (Texts{"5D 01234", "3D 012"}));
}

TEST(ThreeDigitLevel, OriginAreasBelowTheMinimumByClass) {
    for (auto [size, category, level] :
         {std::tuple{1, 2, "Basic"}, std::tuple{1, 3, "3/5-Digit"}}) {
        PresortHarness h;
        sort(h, category, size, "75201x30, 75202x30");
        EXPECT_EQ(column(h.work.tables.containers, &Container::pieces), (Ints{60})) << category;
        EXPECT_EQ(test::levelTexts(h.work.tables), (Texts{level})) << category;
        EXPECT_EQ(labels(h.work.tables.containers), (Texts{"DALLAS TX 752"}));
    }
    // Periodicals flats wait for the SCF level, which takes the mailer's own SCF.
    PresortHarness pnaf;
    sort(pnaf, 5, 1, "75201x10");
    EXPECT_EQ(labels(pnaf.work.tables.containers), (Texts{"SCF DALLAS TX 752"}));
    EXPECT_EQ(test::levelTexts(pnaf.work.tables), (Texts{"Basic"}));
    // Outside the origin the same 60 pieces go on to the ADC and mixed levels.
    PresortHarness far;
    sort(far, 2, 1, "01234x30, 01235x30");
    EXPECT_EQ(labels(far.work.tables.containers), (Texts{"%MXD NORTH TEXAS TX 75099"}));
}

TEST(ThreeDigitLevel, EntryEndingInAPrefixAndBangSortsAsThatPrefix) {
    PresortHarness h;
    sort(h, 2, 1, "75101x60, 75102x70, 75201x60, 75202x70, 75301x60, 75302x70");
    EXPECT_EQ(labels(h.work.tables.containers),
              (Texts{"DALLAS TX 751", "MID CITIES TX 751! 753", "DALLAS TX 752"}));
    EXPECT_EQ(containerNumbers(h.work.tables), (Ints{1, 1, 3, 3, 2, 2}));
    EXPECT_EQ(threeDigitOrderKeyOfEntry("MID CITIES TX 751!", 753), 751);
    EXPECT_EQ(threeDigitOrderKeyOfEntry("DALLAS TX", 752), 752);
}

TEST(ThreeDigitLevel, PeriodicalsFlatSackLevelFollowsItsGroups) {
    PresortHarness h;
    h.ctx.lists.periodicalList[6] = "24";
    sort(h, 6, 1, "14001x20, 14002x3, 14003x3");
    // 5D 14001 (20) and 3D 140 (6) share the 3-digit sack.
    EXPECT_EQ(test::levelTexts(h.work.tables), (Texts{"Mixed"}));
    EXPECT_EQ(labels(h.work.tables.containers), (Texts{"BUFFALO NY 140"}));
}

TEST(SchemeLevel, FirstClassLooks969UpAs967) {
    PresortHarness fal;
    sort(fal, 8, 0, "96701x60, 96901x100");
    EXPECT_EQ(labels(fal.work.tables.containers), (Texts{"#HONOLULU HI 967"}));
    EXPECT_EQ(test::levelTexts(fal.work.tables), (Texts{"3-Digit"}));
    EXPECT_EQ(SchemeCodeFor(fal.presort(), "969"), "967");

    PresortHarness ral;
    sort(ral, 3, 0, "96701x60, 96901x100");
    EXPECT_EQ(SchemeCodeFor(ral.presort(), "969"), "969");
    EXPECT_EQ(labels(ral.work.tables.containers), (Texts{"%MXD ADC NORTH TEXAS TX 75099"}));
    EXPECT_EQ(test::levelTexts(ral.work.tables), (Texts{"Mixed AADC"}));
    EXPECT_EQ(labels(ral.work.tables.sortGroups), (Texts{"AA 8", "AA 9"}))
        << "AADCs 8 (967) and 9 (969) below 150 become groups of the mixed tray";
}

TEST(SchemeLevel, HundredPiecesGetATrayOnlyInTheOriginSCF) {
    PresortHarness outside;
    sort(outside, 6, 0, "14001x100");
    EXPECT_EQ(labels(outside.work.tables.containers), (Texts{"%MXD ADC NORTH TEXAS TX 75099"}));
    for (auto [category, level] : {std::pair{6, "Basic"}, std::pair{3, "AADC"}}) {
        PresortHarness inside;
        sort(inside, category, 0, "75201x100");
        EXPECT_EQ(labels(inside.work.tables.containers), (Texts{"#DALLAS TX 752*LETTER SCHEME"}));
        EXPECT_EQ(test::levelTexts(inside.work.tables), (Texts{level}));
    }
}

TEST(SchemeLevel, OriginPartOfASchemeGetsATrayTheRestGoesOn) {
    PresortHarness h;
    sort(h, 3, 0, "75001x70, 75201x30");
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.containers, &Container::pieces), (Ints{30, 70}));
    EXPECT_EQ(test::levelTexts(t), (Texts{"AADC", "Mixed AADC"}));
    // AADC 5 holds only 750's 70 pieces: their 3-digit group is dropped with the groups
    // without a tray and they join the mixed tray as an AADC group.
    EXPECT_EQ(labels(t.sortGroups), (Texts{"3D 752", "AA 5"}));
}

TEST(ScfLevel, SacksPerScfByMinimumOrMailersOwn) {
    PresortHarness h;
    h.useClass("PNAF");
    h.ctx.lists.periodicalList[6] = "6";
    // 140 and 141 share SCF 4; 150 and 151 share SCF 5; 751 and 752 the mailer's SCF 8;
    // 750 is a single-prefix SCF.
    setTables(h.work,
              {{14001, 4, 0, 1},
               {14101, 3, 0, 2},
               {15001, 2, 0, 3},
               {15101, 3, 0, 4},
               {75001, 6, 0, 5},
               {75101, 2, 0, 6},
               {75201, 3, 0, 7}},
              {{4, "3D 140", 0},
               {3, "3D 141", 0},
               {2, "3D 150", 0},
               {3, "3D 151", 0},
               {6, "3D 750", 0},
               {2, "3D 751", 0},
               {3, "3D 752", 0}},
              {});
    BuildSCFLevel(h.presort());
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(labels(t.containers),
              (Texts{"SCF BUFFALO NY 140", "SCF NORTH TEXAS TX 750*", "SCF DALLAS TX 752"}));
    EXPECT_EQ(column(t.containers, &Container::pieces), (Ints{7, 6, 5}));
    EXPECT_EQ(containerNumbers(t), (Ints{1, 1, 0, 0, 2, 3, 3}));
}

TEST(ScfLevel, CoSackedSackLevelFromItsKinds) {
    PresortHarness h;
    h.useClass("PCOF");
    h.ctx.lists.periodicalList[6] = "6";
    setTables(h.work, {{14001, 6, 0, 1}, {-14101, 6, 0, 2}, {-15001, 6, 0, 3}},
              {{6, "3D 140", 0, 0}, {6, "3D 141", 0, 1}, {6, "3D 150", 0, 1}}, {});
    BuildSCFLevel(h.presort());
    EXPECT_EQ(test::levelTexts(h.work.tables), (Texts{"Mixed", "Basic"}));
}

TEST(AdcLevel, OrderCodesOrderGroupsAndContainers) {
    EXPECT_EQ(distributionOrderCode("ADC CHICAGO IL 606*LINE 2"), 60600);
    EXPECT_EQ(distributionOrderCode("$ADC NORTH TEXAS TX 12345"), 12345);
    // Nonmachinable letters with a tray minimum of 10: no prefix reaches a 3-digit group,
    // ADCs 1 (010-014), 4 (730-731) and 5 (750-753) reach ADC groups, met in that order.
    PresortHarness h;
    h.ctx.lists.adcLabels[1] = "ADC SPRINGFIELD MA 99000";
    h.mailType({{6, "10"}, {8, "1"}});
    sort(h, 1, 0,
         "01001x2, 01101x2, 01201x2, 01301x2, 01401x2, 73001x5, 73101x5, 75001x3, 75101x3, "
         "75201x3, 75301x3");
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(labels(t.sortGroups), (Texts{"AD 4", "AD 5", "AD 1"}));
    EXPECT_EQ(labels(t.containers), (Texts{"$ADC OKLAHOMA CITY OK 730", "$ADC NORTH TEXAS TX 75099",
                                           "$ADC SPRINGFIELD MA 99000"}));
    EXPECT_EQ(test::levelTexts(t), (Texts{"Basic", "Basic", "Basic"}));
}

TEST(AdcLevel, CoSackedBarcodedAndNonbarcodedShareOneSack) {
    PresortHarness h;
    h.mailType({{4, "1"}, {5, "4"}});
    std::string pieces = "14001x9, 14101x9, 14201x9, 14301x9, -14002x9, -14102x9, -14202x9, "
                         "-14302x9";
    sort(h, 4, 1, pieces);
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(labels(t.sortGroups), (Texts{"AD 2", "AD 2"}));
    EXPECT_EQ(column(t.sortGroups, &SortGroup::nonbarcoded), (Flags{false, true}));
    EXPECT_EQ(column(t.containers, &Container::pieces), (Ints{72}));
    EXPECT_EQ(test::levelTexts(t), (Texts{"Basic"}));

    PresortHarness mixed;
    mixed.mailType({{4, "1"}, {5, "4"}});
    sort(mixed, 4, 1, pieces + ", 14305x15");
    EXPECT_EQ(test::levelTexts(mixed.work.tables), (Texts{"Mixed"}))
        << "the 5-digit group of 14305 joins the ADC sack";
}

TEST(AdcLevel, NonmachinableOneFootAndTwoFootTrays) {
    auto trays = [](int each, const std::string& extra) {
        PresortHarness h;
        h.mailType({{6, "402"}, {7, "510"}, {8, "0"}});
        sort(h, 1, 0, spread(14000, 15, each) + extra);
        return h.work.tables;
    };
    // 15 ZIPs of 5 in each of 140-143: 3-digit groups of 75, an ADC of 300.
    WorkTables t = trays(5, ", " + spread(14100, 15, 5) + ", " + spread(14200, 15, 5) + ", " +
                                spread(14300, 15, 5));
    EXPECT_EQ(column(t.containers, &Container::pieces), (Ints{225, 75}))
        << "one-foot tray of at most 248";
    EXPECT_EQ(labels(t.containers), (Texts{"$ADC BUFFALO NY 140", "%MXD NORTH TEXAS TX 75099"}));
    // 450 pieces reach line 6: one two-foot tray.
    t = trays(8, ", " + spread(14100, 15, 8) + ", " + spread(14200, 15, 7) + ", " +
                     spread(14300, 15, 7));
    EXPECT_EQ(column(t.containers, &Container::pieces), (Ints{450}));
}

TEST(AdcLevel, TrayCutFillsToTheMinimumAndKeepsTheRestAsAGroup) {
    PresortHarness h;
    h.mailType({{6, "402"}, {7, "510"}, {8, "0"}});
    // 3-digit groups of 140, 50 and 110 pieces (below the 3-digit minimum of 150) make an
    // ADC of 300 over the one-foot capacity of 248: 140 and 50 fit, 142 must be cut. The
    // tray needs 6 more pieces for its minimum of 196 and takes 10 so that the cut group
    // keeps the group minimum; the other 100 form a new group, below a tray.
    sort(h, 1, 0, spread(14000, 28, 5) + ", " + spread(14100, 10, 5) + ", " + spread(14200, 22, 5));
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.containers, &Container::pieces), (Ints{200, 100}));
    EXPECT_EQ(labels(t.containers), (Texts{"$ADC BUFFALO NY 140", "%MXD NORTH TEXAS TX 75099"}));
    // The package split then cuts 3D 140 into 121 + 19.
    EXPECT_EQ(labels(t.sortGroups), (Texts{"3D 140", "3D 140", "3D 141", "3D 142", "3D 142"}));
    EXPECT_EQ(column(t.sortGroups, &SortGroup::pieces), (Ints{121, 19, 50, 10, 100}));
    EXPECT_EQ(containerNumbers(t), (Ints{1, 1, 1, 1, 2}));
}

TEST(AdcLevel, TrayCutWithLittleRoomKeepsEveryPieceOnce) {
    // Capacity 14 over a minimum of 10 leaves less than the group minimum of 10 to a cut
    // group; pieces that cannot form a group go to the mixed tray.
    for (const char* full : {"14", "12", "10"}) {
        PresortHarness h;
        h.mailType({{6, "10"}, {7, full}, {8, "1"}});
        sort(h, 1, 0, spread(14000, 9, 3) + ", " + spread(14100, 9, 4));
        EXPECT_EQ(h.placedPieces(), 63) << full;
    }
}

TEST(AdcLevel, LeftBelowTheGroupMinimumAndNoAdcMeansUnplaced) {
    PresortHarness h;
    h.mailClass(2, 1);
    h.pieces("09001x5, 09002x30");
    Build5DigitLevel(h.presort());
    Build3DigitLevel(h.presort());
    EXPECT_EQ(ownerNumbers(h.work.tables), (Ints{-1, 1}));
    BuildADCLevel(h.presort());
    EXPECT_EQ(ownerNumbers(h.work.tables), (Ints{0, 1}));
    EXPECT_TRUE(h.work.tables.containers.empty()) << "090 has no ADC: nothing labelled from line 0";
    BuildMixedLevel(h.presort());
    EXPECT_EQ(labels(h.work.tables.sortGroups), (Texts{"5D 09002", "MA"}));
    EXPECT_EQ(labels(h.work.tables.containers), (Texts{"%MXD NORTH TEXAS TX 75099"}));
    EXPECT_EQ(column(h.work.tables.containers, &Container::pieces), (Ints{35}));
}

TEST(AadcLevel, AutomationAadcOf149GoesToTheMixedTray) {
    PresortHarness h;
    sort(h, 3, 0, "14001x100, 14201x49");
    EXPECT_EQ(test::levelTexts(h.work.tables), (Texts{"Mixed AADC"}));
    PresortHarness enough;
    sort(enough, 3, 0, "14001x100, 14201x50");
    EXPECT_EQ(labels(enough.work.tables.containers), (Texts{"$AADC BUFFALO NY 140"}));
    EXPECT_EQ(test::levelTexts(enough.work.tables), (Texts{"AADC"}));
}

TEST(MixedLevel, CoSackedNonbarcodedAndBarcodedMixedGroupsShareOneSack) {
    PresortHarness h;
    sort(h, 4, 1, "09001x3, -09002x4");
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(labels(t.sortGroups), (Texts{"MA", "MA"}));
    EXPECT_EQ(column(t.sortGroups, &SortGroup::nonbarcoded), (Flags{true, false}));
    EXPECT_EQ(column(t.sortGroups, &SortGroup::pieces), (Ints{4, 3}));
    EXPECT_EQ(labels(t.containers), (Texts{"%MXD ADC NORTH TEXAS TX 75099"}));
    EXPECT_EQ(test::levelTexts(t), (Texts{"Basic"}));
}

TEST(MixedLevel, BmcEntryLabelsAndDiscount) {
    PresortHarness h;
    h.ctx.lists.mailerList[4] = "2";
    sort(h, 0, 0, "75001x5");
    EXPECT_EQ(labels(h.work.tables.containers), (Texts{"%MXD ADC DALLAS TX 75199"}));
    EXPECT_EQ(test::entryTexts(h.work.tables), (Texts{"DBMC"}));
    PresortHarness outside;
    outside.ctx.lists.mailerList[4] = "2";
    sort(outside, 0, 0, "75001x5, 01001x1");
    EXPECT_EQ(test::entryTexts(outside.work.tables), (Texts{"None"}));
}

TEST(MixedLevel, MissingChartEntryFallsBackForFirstClassAndRefusesOthers) {
    PresortHarness fal;
    fal.ctx.lists.mailerList[3] = "09001";
    fal.ctx.lists.mailerList[4] = "2";
    sort(fal, 8, 0, "14001x5");
    EXPECT_EQ(labels(fal.work.tables.containers), (Texts{"%MXD APO AE 090"}));

    PresortHarness rml;
    rml.ctx.lists.mailerList[3] = "09001";
    rml.ctx.lists.mailerList[4] = "2";
    rml.mailClass(0, 0);
    rml.pieces("14001x5");
    try {
        test::runPresort(rml.work, rml.ctx);
        FAIL() << "no BMC/ASF label for 090";
    } catch (const PresortError& e) {
        EXPECT_STREQ(e.what(), "The mixed tray or sack cannot be labelled: line 90 of dbmcchrt.dat "
                               "names no label for the mailer's ZIP prefix 090. Correct the chart "
                               "under Postal Lists, or the mailer's ZIP under Settings, and sort "
                               "again.");
    }
    EXPECT_TRUE(rml.work.tables.containers.empty()) << "refused before the presort";
}

TEST(MixedLevel, NothingUncontainedMakesNoContainer) {
    PresortHarness h;
    h.useClass("RAF");
    setTables(h.work, {{1234, 130, 0, 1}}, {{130, "5D 01234", 1}}, {130});
    BuildMixedLevel(h.presort());
    EXPECT_EQ(h.work.tables.containers.size(), 1u);
    EXPECT_EQ(h.work.tables.sortGroups.size(), 1u);
}

TEST(MixedLevel, FlatSackLevelFromItsGroups) {
    PresortHarness h;
    h.useClass("RAF");
    setTables(h.work, {{1234, 12, 0, 1}, {1300, 11, 0, 2}, {1400, 5, 0, 0}},
              {{12, "5D 01234", 0}, {11, "3D 013", 0}}, {});
    BuildMixedLevel(h.presort());
    EXPECT_EQ(test::levelTexts(h.work.tables), (Texts{"Mixed"}));
    EXPECT_EQ(labels(h.work.tables.sortGroups), (Texts{"5D 01234", "3D 013", "MA"}));
    h.expectConsistent();
}
