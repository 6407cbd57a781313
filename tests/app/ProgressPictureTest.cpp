#include "core/ProgressPicture.h"
#include "app/MainWindow.h"
#include "platform/print/RecordingCanvas.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct WithMainWindow {
    WithMainWindow() : window(env.context()) { env.load(); }
    test::TestEnvironment env;
    MainWindow window;

    const std::vector<std::string>& log(const char* image) {
        return dynamic_cast<RecordingCanvas&>(window.form().control(image).canvas()).log();
    }
};

size_t count(const std::vector<std::string>& log, const std::string& prefix) {
    size_t n = 0;
    for (const auto& entry : log)
        n += entry.rfind(prefix, 0) == 0;
    return n;
}

} // namespace

TEST(ProgressPicture, TwoTraysOverThreeSacksThenThePause) {
    WithMainWindow w;
    long long before = w.env.ui.now();
    ShowProgressIcons(w.env.context(), 2);
    const auto& log = w.log("Image2");
    EXPECT_EQ(log[0], "pen (0,128,128) 1");
    EXPECT_EQ(log[2], "rect 0 0 200 200");
    EXPECT_EQ(count(log, "polygon"), 3u);
    // Sack 0 (t = 36) first, then the trays over the sacks.
    EXPECT_EQ(log[5], "polygon 54,77 129,120 112,151 37,107");
    auto firstTray = std::find(log.begin(), log.end(), "rect 79 22 166 57");
    auto secondTray = std::find(log.begin(), log.end(), "rect 70 30 157 65");
    auto lastSack = std::find(log.begin(), log.end(), "polygon 72,59 147,102 130,133 55,89");
    ASSERT_NE(firstTray, log.end());
    ASSERT_NE(secondTray, log.end());
    ASSERT_NE(lastSack, log.end());
    EXPECT_LT(lastSack, firstTray);
    EXPECT_NE(std::find(log.begin(), log.end(), "rect 144 35 150 41"), log.end())
        << "the second tray's yellow mark";
    EXPECT_TRUE(w.window.form().control("Image2").visible());
    EXPECT_EQ(w.env.ui.now() - before, 500) << "the pause ends at the timer's tick";
    EXPECT_TRUE(w.env.context().flags.PauseFlag);
    EXPECT_FALSE(w.window.pauseTimer().enabled());
}

TEST(ProgressPicture, FiveTraysNoSackAndNoTrayFiveSacks) {
    WithMainWindow w;
    ShowProgressPause(w.env.context(), 5);
    EXPECT_EQ(count(w.log("Image2"), "polygon"), 0u);
    EXPECT_EQ(count(w.log("Image2"), "rect 7"), 2u); // trays at x 79 - 9k for k = 0, 1
    dynamic_cast<RecordingCanvas&>(w.window.form().control("Image2").canvas()).clearLog();
    ShowProgressIcons(w.env.context(), 0);
    EXPECT_EQ(count(w.log("Image2"), "polygon"), 5u);
    EXPECT_EQ(count(w.log("Image2"), "rect 79 22"), 0u);
}

TEST(ProgressPicture, EarlyTickDoesNotShortenThePause) {
    WithMainWindow w;
    w.env.context().flags.PauseFlag = true; // a tick from before
    long long before = w.env.ui.now();
    ProgressPause(w.env.context());
    EXPECT_EQ(w.env.ui.now() - before, 500);
}

TEST(ProgressPicture, StickerDrawsTwiceAndShowsTheLetter) {
    WithMainWindow w;
    ShowProgressSticker(w.env.context(), "D", StickerFiveDigit);
    ShowProgressSticker(w.env.context(), "3", StickerThreeDigit);
    const auto& log = w.log("Image1");
    std::vector<std::string> last(log.end() - 8, log.end());
    EXPECT_EQ(last, (std::vector<std::string>{"pen (0,0,0) 1 clear", "brush (0,128,128)",
                                              "roundrect 25 25 75 75 25 70",
                                              "roundrect 13 32 87 68 80 40", "brush (0,255,0)",
                                              "roundrect 25 25 75 75 25 70",
                                              "roundrect 13 32 87 68 80 40", "pen (0,0,0) 1"}));
    EXPECT_EQ(w.window.form().control("Stckr").caption(), "3");
    EXPECT_TRUE(w.window.form().control("Stckr").visible());
}
