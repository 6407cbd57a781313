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
    EXPECT_TRUE(t.zipGroups.empty());
    EXPECT_TRUE(t.sortGroups.empty());
    EXPECT_TRUE(t.containers.empty());
}

TEST(WorkTables, SeedingPutsEveryTableBackToItsSeedRow) {
    WorkTables t;
    t.seed(true);
    expectSeeded(t, true);

    t.pieceZips.push_back(1234);
    t.pieceRecords.push_back("a record");
    t.zipGroups.push_back({1234, 3, 0, 0});
    t.sortGroups.push_back({GroupKind::FiveDigit, 1234, 3, 0});
    t.containers.push_back(
        {3, ContainerKind::FiveDigit, ContainerLevel::FiveDigit, EntryDiscount::None, "LABEL"});

    t.seed(false);
    expectSeeded(t, false);
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
