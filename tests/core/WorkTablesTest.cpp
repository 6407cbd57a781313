#include "app/DataFiles.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;

TEST(WorkTables, ResetHidesTheProgressPicture) {
    test::TestEnvironment env;
    env.load();
    test::RecordingProgress progress;
    env.context().setProgress(progress);
    ResetWorkLists(env.context());
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"hide"}));
    env.context().resetProgress();
}
