#include "core/MailClass.h"
#include "core/presort/ContainerFilling.h"
#include "core/presort/GroupModel.h"
#include "core/presort/PackageSplit.h"
#include "core/presort/PresortDriver.h"
#include "tests/core/presort/PresortHarness.h"
#include "tests/support/MailingOf.h"
#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::column;
using test::containerNumbers;
using test::ownerNumbers;
using test::PresortHarness;
using test::setTables;
using Ints = std::vector<int32_t>;

namespace {

Ints containerPieces(const Mailing& m) {
    return column(m.tables.containers, &Container::pieces);
}

Ints groupPieces(const Mailing& m) {
    return column(m.tables.sortGroups, &SortGroup::pieces);
}

// One container holding one sort group of one ZIP group.
void oneGroupContainer(Mailing& mailing, int32_t pieces, const std::string& label = "5D 01234") {
    setTables(mailing, {{1234, pieces, 0, 1}}, {{pieces, label, 1}}, {pieces});
}

} // namespace

TEST(GroupModel, InsertedContainerRenumbersTheLaterLinks) {
    PresortHarness h;
    setTables(h.work, {{1234, 4, 0, 1}, {1235, 4, 0, 2}, {1236, 4, 0, 3}, {1237, 4, 0, 4}},
              {{4, "5D 01234", 3}, {4, "5D 01235", 4}, {4, "5D 01236", 5}, {4, "5D 01237", 0}},
              {1, 1, 4, 4, 4});
    h.work.tables.containers[2].destination = "THIRD";
    GroupModel model(h.presort());
    model.insertContainerAfter(2);
    model.store(false);
    EXPECT_EQ(containerNumbers(h.work.tables), (Ints{3, 5, 6, 0}));
    EXPECT_EQ(h.work.tables.containers[3].destination, "THIRD");
    EXPECT_EQ(containerPieces(h.work), (Ints{1, 1, 4, 0, 4, 4}));
}

TEST(GroupModel, SortGroupSplitMovesWholeZipGroupsThenCutsTheLargest) {
    PresortHarness h;
    setTables(h.work, {{1234, 6, 0, 1}, {1235, 9, 0, 1}, {1236, 3, 0, 1}, {75201, 4, 0, 2}},
              {{18, "3D 012", 1}, {4, "3D 752", 2}}, {18, 4});
    GroupModel model(h.presort());
    model.splitSortGroup(0, 10, 0);
    model.store(false);
    const WorkTables& t = h.work.tables;
    // 6 moves, 9 does not fit the 4 still to move, 3 moves, then 1 is cut off the 9.
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::zip), (Ints{1234, 1235, 1235, 1236, 75201}));
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::pieces), (Ints{6, 8, 1, 3, 4}));
    EXPECT_EQ(ownerNumbers(t), (Ints{2, 1, 2, 2, 3}));
    EXPECT_EQ(groupPieces(h.work), (Ints{8, 10, 4}));
    EXPECT_EQ(containerNumbers(t), (Ints{1, 1, 2}));
    EXPECT_EQ(test::labels(t.sortGroups), (std::vector<std::string>{"3D 012", "3D 012", "3D 752"}));
}

TEST(GroupModel, ZipCutKeepsInCountyPiecesWhereTheyFit) {
    PresortHarness h;
    setTables(h.work, {{1234, 20, 5, 1}, {75201, 3, 0, 2}},
              {{20, "5D 01234", 1}, {3, "5D 75201", 1}}, {23});
    GroupModel model(h.presort());
    model.cutZipGroup(0, 18, 1);
    model.store(false);
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::zip), (Ints{1234, 1234, 75201}));
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::pieces), (Ints{2, 18, 3}));
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::inCounty), (Ints{2, 3, 0}));
    EXPECT_EQ(ownerNumbers(t), (Ints{1, 2, 2}));
}

TEST(LetterTrays, FullTrayStaysOneMorePieceIsRefilled) {
    PresortHarness h;
    h.useClass("RML");
    h.ctx.lists.mailTypeList[7] = "504";
    oneGroupContainer(h.work, 504);
    FillLetterTrays(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{504}));

    oneGroupContainer(h.work, 505);
    FillLetterTrays(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{504, 1}));
    EXPECT_EQ(containerNumbers(h.work.tables), (std::vector<int32_t>{1, 2}));
    h.expectConsistent();
}

TEST(LetterTrays, NonmachinableGroupMovesWholeUnlessBothPartsKeepTen) {
    PresortHarness h;
    h.useClass("RNML");
    h.ctx.lists.mailTypeList[7] = "100";
    setTables(h.work, {{1234, 95, 0, 1}, {1235, 15, 0, 2}},
              {{95, "5D 01234", 1}, {15, "5D 01235", 1}}, {110});
    FillLetterTrays(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{95, 15}))
        << "5 pieces of room: the 15 moves whole";
    setTables(h.work, {{1234, 80, 0, 1}, {1235, 40, 0, 2}},
              {{80, "5D 01234", 1}, {40, "5D 01235", 1}}, {120});
    FillLetterTrays(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{100, 20}));
    EXPECT_EQ(groupPieces(h.work), (std::vector<int32_t>{80, 20, 20}));
    h.expectConsistent();
}

TEST(FlatSacks, CapacityFromMaximumPoundsAndWeight) {
    PresortHarness h;
    h.mailType({{4, "0"}, {5, "4"}, {9, "70"}});
    EXPECT_EQ(sackCapacity(h.presort()), 583);
    h.mailType({{4, "1"}});
    EXPECT_EQ(sackCapacity(h.presort()), 280);
    h.mailType({{5, "1.5"}});
    EXPECT_EQ(sackCapacity(h.presort()), 583) << "lighter than 1.92 oz counts as 1.92";
}

TEST(FlatSacks, BrokenUpAt563PiecesIntoEqualSacks) {
    PresortHarness h;
    h.useClass("RNAF");
    h.mailType({{4, "0"}, {9, "70"}});
    oneGroupContainer(h.work, 562);
    FillFlatContainers(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{562}));
    oneGroupContainer(h.work, 563);
    FillFlatContainers(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{281, 282}));
    oneGroupContainer(h.work, 1200);
    FillFlatContainers(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{400, 400, 400}));
    h.expectConsistent();
}

TEST(FlatSacks, MixedSacksTakeTheirLevelFromTheirGroups) {
    PresortHarness h;
    h.useClass("RAF");
    h.mailType({{4, "0"}, {9, "70"}});
    setTables(h.work, {{1234, 300, 0, 1}, {1300, 290, 0, 2}, {1400, 5, 0, 3}},
              {{300, "5D 01234", 1}, {290, "3D 013", 1}, {5, "MA", 1}}, {595});
    FillFlatContainers(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{300, 295}));
    EXPECT_EQ(levelText(h.work.tables.containers[0].level), "3/5-Digit");
    EXPECT_EQ(levelText(h.work.tables.containers[1].level), "Mixed");
    h.expectConsistent();
}

TEST(PackageSplit, FiveInchStacksPlusTenStayWhole) {
    PresortHarness h;
    h.ctx.lists.mailTypeList[7] = "510";
    EXPECT_EQ(packageKeep(510), 121);
    for (auto [pieces, expected] : {std::pair{300, std::vector<int32_t>{121, 121, 58}},
                                    std::pair{131, std::vector<int32_t>{131}},
                                    std::pair{132, std::vector<int32_t>{121, 11}}}) {
        h.useClass("RNAF");
        setTables(h.work, {{1234, pieces / 2, 0, 1}, {1235, pieces - pieces / 2, 0, 1}},
                  {{pieces, "5D 01234", 1}}, {pieces});
        SplitLargePackages(h.presort());
        EXPECT_EQ(groupPieces(h.work), expected) << pieces;
        EXPECT_EQ(containerNumbers(h.work.tables), std::vector<int32_t>(expected.size(), 1));
        h.expectConsistent();
    }
    for (const char* code : {"RML", "RAL", "PAL", "FAL"}) {
        h.useClass(code);
        oneGroupContainer(h.work, 300);
        SplitLargePackages(h.presort());
        EXPECT_EQ(groupPieces(h.work), (std::vector<int32_t>{300})) << code;
    }
}

TEST(Termination, NonmachinableStackOfOneSortsAndSplitsToSinglePieces) {
    PresortHarness h;
    h.mailClass(1, 0);
    h.mailType({{6, "5"}, {7, "4"}, {8, "0"}});
    h.pieces("01234x200");
    // Trays of 4 pieces; the last 4 pieces are cut into one-piece groups below the one-foot
    // minimum of 2, which the later levels place.
    test::runPresort(h.work, h.ctx);
    EXPECT_EQ(h.placedPieces(), 200);
    h.expectConsistent();

    h.useClass("RNML");
    oneGroupContainer(h.work, 100);
    SplitLargePackages(h.presort());
    EXPECT_EQ(h.work.tables.sortGroups.size(), 90u) << "89 packages of 1, then 11";
    h.expectConsistent();
}

TEST(Termination, NonmachinableTrayUnderTwentyWithALargeGroup) {
    PresortHarness h;
    h.useClass("RNML");
    h.ctx.lists.mailTypeList[7] = "16";
    setTables(h.work, {{1234, 100, 0, 1}, {1235, 30, 0, 2}, {1236, 5, 0, 3}},
              {{100, "5D 01234", 1}, {30, "5D 01235", 1}, {5, "5D 01236", 1}}, {135});
    FillLetterTrays(h.presort());
    EXPECT_EQ(containerPieces(h.work),
              (std::vector<int32_t>{16, 16, 16, 16, 16, 10, 10, 16, 14, 5}));
    h.expectConsistent();
    // 19 pieces cannot be split into two parts of 10: the group stays over full.
    setTables(h.work, {{1234, 19, 0, 1}, {1235, 30, 0, 2}, {1236, 5, 0, 3}},
              {{19, "5D 01234", 1}, {30, "5D 01235", 1}, {5, "5D 01236", 1}}, {54});
    FillLetterTrays(h.presort());
    EXPECT_EQ(containerPieces(h.work), (std::vector<int32_t>{19, 16, 14, 5}));
    h.expectConsistent();
}

TEST(Termination, HeavyPeriodicalsFlatsFinishAndKeepEveryPiece) {
    for (auto [weight, pounds] : {std::pair{"95", "40"}, std::pair{"96", "70"}}) {
        PresortHarness h;
        h.mailClass(5, 1);
        h.mailType({{4, "1"}, {5, weight}, {9, pounds}});
        h.ctx.lists.periodicalList[6] = "6";
        h.pieces("01234x300, 01235x7, 75201x40, 96801x6");
        test::runPresort(h.work, h.ctx);
        EXPECT_EQ(h.placedPieces(), 353) << weight;
        h.expectConsistent();

        h.useClass("PNAF");
        setTables(h.work, {{1234, 300, 0, 1}, {1235, 7, 0, 2}, {1236, 40, 0, 3}},
                  {{300, "5D 01234", 1}, {7, "5D 01235", 1}, {40, "5D 01236", 1}}, {347});
        FillFlatContainers(h.presort());
        EXPECT_EQ(h.placedPieces(), 347) << weight;
        h.expectConsistent();
    }
}
