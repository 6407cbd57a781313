#include "app/ProgressPicture.h"
#include "app/MainWindow.h"
#include "platform/testing/RecordingCanvas.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct WithMainWindow {
    WithMainWindow() : window(env.context()) { env.load(); }
    test::TestEnvironment env;
    MainWindow window;

    ProgressPicture& picture() { return window.progressPicture(); }
    RecordingCanvas& canvas(const char* image) {
        return dynamic_cast<RecordingCanvas&>(window.form().control(image).canvas());
    }
    const std::vector<std::string>& log(const char* image) { return canvas(image).log(); }
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
    w.picture().showIcons(2);
    const auto& log = w.log("Image2");
    EXPECT_EQ(log[0], "pen (0,128,128) 1");
    EXPECT_EQ(log[2], "rect 0 0 200 200");
    EXPECT_EQ(count(log, "polygon"), 3u);
    // The sacks first, then the trays over them.
    auto firstTray = std::find(log.begin(), log.end(), "rect 79 22 166 57");
    auto lastSack = std::find(log.begin(), log.end(), "polygon 72,59 147,102 130,133 55,89");
    ASSERT_NE(firstTray, log.end());
    ASSERT_NE(lastSack, log.end());
    EXPECT_LT(lastSack, firstTray);
    EXPECT_TRUE(w.window.form().control("Image2").visible());
    EXPECT_EQ(w.env.ui.now() - before, 500) << "the pause ends at the timer's tick";
    EXPECT_TRUE(w.picture().pauseEnded());
    EXPECT_FALSE(w.picture().pauseTimer().enabled());
}

TEST(ProgressPicture, FiveTraysNoSackAndNoTrayFiveSacks) {
    WithMainWindow w;
    w.picture().showIcons(5);
    EXPECT_EQ(count(w.log("Image2"), "polygon"), 0u);
    EXPECT_EQ(count(w.log("Image2"), "rect 7"), 2u); // trays at x 79 - 9k for k = 0, 1
    w.canvas("Image2").clearLog();
    w.picture().showIcons(0);
    EXPECT_EQ(count(w.log("Image2"), "polygon"), 5u);
    EXPECT_EQ(count(w.log("Image2"), "rect 79 22"), 0u);
}

TEST(ProgressPicture, EarlyTickDoesNotShortenThePause) {
    WithMainWindow w;
    w.picture().pauseTimer().fire(); // a tick from before
    long long before = w.env.ui.now();
    w.picture().pause();
    EXPECT_EQ(w.env.ui.now() - before, 500);
}

TEST(ProgressPicture, StickerDrawsTwiceAndShowsTheLetter) {
    WithMainWindow w;
    w.picture().showStage(ProgressSink::Stage::FiveDigit);
    w.picture().showStage(ProgressSink::Stage::ThreeDigit);
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

TEST(ProgressPicture, WithoutADisplayNothingIsDrawnAndNothingWaits) {
    WithMainWindow w;
    w.env.ui.setHasDisplay(false);
    long long before = w.env.ui.now();
    ProgressSink& sink = w.env.context().progress();
    sink.showPage();
    sink.showCaption(ProgressSink::Caption::Top, "Reading");
    sink.showStage(ProgressSink::Stage::Adc);
    for (int trays = 5; trays >= 0; --trays)
        sink.showIcons(trays);
    EXPECT_EQ(w.env.ui.now(), before) << "no pause";
    EXPECT_TRUE(w.log("Image1").empty());
    EXPECT_TRUE(w.log("Image2").empty());
    for (const char* name : {"Image1", "Image2", "TopLabel", "Stckr"})
        EXPECT_FALSE(w.window.form().control(name).visible()) << name;
}

TEST(ProgressPicture, TheMainWindowShowsTheProgressWhileItLives) {
    test::TestEnvironment env;
    {
        MainWindow window(env.context());
        EXPECT_EQ(&env.context().progress(), &window.progressPicture());
    }
    long long before = env.ui.now();
    env.context().progress().showIcons(3);
    EXPECT_EQ(env.ui.now(), before) << "without the window nothing is shown";
}
