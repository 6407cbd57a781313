#include "core/DataFiles.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;

static void expectSeeded(const WorkTables& t, bool pieceRecordsSeed) {
    EXPECT_EQ(t.PieceZips, std::vector<int32_t>{0});
    EXPECT_EQ(t.PieceCities, std::vector<std::string>{"0"});
    EXPECT_EQ(t.PieceInCounty, std::vector<std::string>{"0"});
    EXPECT_EQ(t.PieceRecords.size(), pieceRecordsSeed ? 1u : 0u);
    for (const auto* table :
         {&t.ZipGroupZips, &t.ZipGroupPieces, &t.ZipGroupInCounty, &t.ZipGroupOwner,
          &t.SortGroupFlags, &t.SortGroupPieces, &t.SortGroupContainer, &t.ContainerPieces,
          &t.LevelKeys, &t.LevelKeyPieces, &t.LevelKeyGroups})
        EXPECT_EQ(*table, std::vector<int32_t>{0});
    for (const auto* table : {&t.SortGroupLabels, &t.ContainerLabels, &t.ContainerEntry,
                              &t.ContainerLevel, &t.PaveRecords})
        EXPECT_EQ(*table, std::vector<std::string>{""});
    EXPECT_TRUE(t.familiesConsistent());
}

TEST(WorkTables, StartUpSeedsEveryTableAndResetRestoresTheSeeds) {
    test::TestEnvironment env;
    env.load();
    AppContext& ctx = env.context();
    expectSeeded(ctx.tables, true);

    WorkTables& t = ctx.tables;
    t.PieceZips.push_back(1234);
    t.PieceRecords.push_back("a record");
    t.insertZipGroup(1, 1234, 3, 0, 1);
    t.addSortGroup(0, 3, "5D 01234", 1);
    t.addContainer(3, "LABEL", "None", "5-Digit");
    t.addLevelKey(12, 3, 1);
    t.PaveRecords.push_back("x");
    EXPECT_TRUE(t.familiesConsistent());

    ResetWorkLists(ctx);
    expectSeeded(t, false);
}

TEST(WorkTables, FamilyHelpersKeepParallelTablesEqual) {
    WorkTables t;
    t.seed(true);
    t.insertZipGroup(1, 500, 10, 2, 0);
    t.insertZipGroup(1, 300, 5, 0, 0);
    t.insertZipGroup(3, -500, 4, 0, 0);
    EXPECT_EQ(t.ZipGroupZips, (std::vector<int32_t>{0, 300, 500, -500}));
    EXPECT_EQ(t.ZipGroupPieces, (std::vector<int32_t>{0, 5, 10, 4}));
    t.eraseZipGroup(1);
    EXPECT_EQ(t.ZipGroupInCounty, (std::vector<int32_t>{0, 2, 0}));
    t.addContainer(10, "A", "None", "Mixed");
    t.insertContainer(1, 5, "B", "DBMC", "Basic");
    EXPECT_EQ(t.ContainerLabels, (std::vector<std::string>{"", "B", "A"}));
    t.eraseContainer(2);
    EXPECT_EQ(t.ContainerLevel, (std::vector<std::string>{"", "Basic"}));
    t.addSortGroup(1, 5, "G", 1);
    t.insertSortGroup(1, 0, 2, "H", 0);
    t.eraseSortGroup(2);
    EXPECT_EQ(t.SortGroupFlags, (std::vector<int32_t>{0, 0}));
    EXPECT_TRUE(t.familiesConsistent());
}

TEST(WorkTables, ResetHidesTheProgressPicture) {
    test::TestEnvironment env;
    env.load();
    platform::Form main(env.ui, "MainWindow", "Quillan");
    for (const char* name : {"Image1", "Image2", "Stckr", "TopLabel", "BottomLabel"})
        main.add(platform::ControlKind::Label, name).setVisible(true);
    env.context().mainWindow = &main;
    env.ui.setBusyCursor(true);
    ResetWorkLists(env.context());
    for (const char* name : {"Image1", "Image2", "Stckr", "TopLabel", "BottomLabel"})
        EXPECT_FALSE(main.control(name).visible()) << name;
    EXPECT_FALSE(env.ui.busyCursor());
    env.context().mainWindow = nullptr;
}
