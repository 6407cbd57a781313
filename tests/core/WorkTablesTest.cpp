#include "app/DataFiles.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;

static void expectSeeded(const WorkTables& t, bool pieceRecordsSeed) {
    EXPECT_EQ(t.pieceZips, std::vector<int32_t>{0});
    EXPECT_EQ(t.pieceCities, std::vector<std::string>{"0"});
    EXPECT_EQ(t.pieceInCounty, std::vector<uint8_t>{0});
    EXPECT_EQ(t.pieceRecords.size(), pieceRecordsSeed ? 1u : 0u);
    for (const auto* table :
         {&t.zipGroupZips, &t.zipGroupPieces, &t.zipGroupInCounty, &t.zipGroupOwner,
          &t.sortGroupFlags, &t.sortGroupPieces, &t.sortGroupContainer, &t.containerPieces,
          &t.levelKeys, &t.levelKeyPieces, &t.levelKeyGroups})
        EXPECT_EQ(*table, std::vector<int32_t>{0});
    for (const auto* table : {&t.sortGroupLabels, &t.containerLabels})
        EXPECT_EQ(*table, std::vector<std::string>{""});
    EXPECT_EQ(t.sortGroupKinds, std::vector<GroupKind>{GroupKind::Other});
    EXPECT_EQ(t.containerTypes, std::vector<ContainerType>{ContainerType{}});
    EXPECT_TRUE(t.familiesConsistent());
}

TEST(WorkTables, SeedingPutsEveryTableBackToItsSeedRow) {
    WorkTables t;
    t.seed(true);
    expectSeeded(t, true);

    t.pieceZips.push_back(1234);
    t.pieceRecords.push_back("a record");
    t.insertZipGroup(1, 1234, 3, 0, 1);
    t.addSortGroup(0, 3, GroupKind::FiveDigit, "5D 01234", 1);
    t.addContainer(3, "LABEL",
                   {ContainerKind::FiveDigit, ContainerLevel::FiveDigit, EntryDiscount::None});
    t.addLevelKey(12, 3, 1);
    EXPECT_TRUE(t.familiesConsistent());

    t.seed(false);
    expectSeeded(t, false);
}

TEST(WorkTables, FamilyHelpersKeepParallelTablesEqual) {
    WorkTables t;
    t.seed(true);
    t.insertZipGroup(1, 500, 10, 2, 0);
    t.insertZipGroup(1, 300, 5, 0, 0);
    t.insertZipGroup(3, -500, 4, 0, 0);
    EXPECT_EQ(t.zipGroupZips, (std::vector<int32_t>{0, 300, 500, -500}));
    EXPECT_EQ(t.zipGroupPieces, (std::vector<int32_t>{0, 5, 10, 4}));
    t.eraseZipGroup(1);
    EXPECT_EQ(t.zipGroupInCounty, (std::vector<int32_t>{0, 2, 0}));
    const ContainerType mixed{ContainerKind::Mixed, ContainerLevel::Mixed, EntryDiscount::None};
    const ContainerType adc{ContainerKind::Adc, ContainerLevel::Basic, EntryDiscount::Dbmc};
    t.addContainer(10, "A", mixed);
    t.insertContainer(1, 5, "B", adc);
    EXPECT_EQ(t.containerLabels, (std::vector<std::string>{"", "B", "A"}));
    t.eraseContainer(2);
    EXPECT_EQ(t.containerTypes, (std::vector<ContainerType>{{}, adc}));
    t.addSortGroup(1, 5, GroupKind::Adc, "G", 1);
    t.insertSortGroup(1, 0, 2, GroupKind::Mixed, "H", 0);
    t.eraseSortGroup(2);
    EXPECT_EQ(t.sortGroupFlags, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(t.sortGroupKinds, (std::vector<GroupKind>{GroupKind::Other, GroupKind::Mixed}));
    EXPECT_TRUE(t.familiesConsistent());

    t.truncateZipGroups();
    t.truncateSortGroups();
    t.truncateContainers();
    EXPECT_EQ(t.zipGroupZips, std::vector<int32_t>{0});
    EXPECT_EQ(t.sortGroupLabels, std::vector<std::string>{""});
    EXPECT_EQ(t.containerTypes, std::vector<ContainerType>{ContainerType{}});
    EXPECT_TRUE(t.familiesConsistent());
}

TEST(WorkTables, ResetHidesTheProgressPicture) {
    test::TestEnvironment env;
    env.load();
    test::RecordingProgress progress;
    env.context().setProgress(progress);
    ResetWorkLists(env.context());
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"hide"}));
    env.context().resetProgress();
}
