// The busy cursor as a guard: nobody is left looking at it over a box, or after a step has
// ended, however the step ended.

#include "app/UiNotices.h"
#include "core/BusyCursor.h"
#include "core/CommandErrors.h"
#include "platform/testing/ScriptedUi.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quillan;
using namespace platform;

TEST(BusyCursor, ArrowReturnsAfterAFailedStepAndUnderEveryBox) {
    ScriptedUi ui;
    UiNotices notices(ui);
    const bool ran = runGuarded(notices, "/data/", [&] {
        BusyCursor command(notices);
        { BusyCursor step(notices); }
        EXPECT_TRUE(ui.busyCursor()) << "an inner step leaves the command busy";
        notices.tell({BeepKind::Asterisk, MessageKind::Information, MessageButtons::Ok, "Half"});
        EXPECT_TRUE(ui.busyCursor()) << "the work goes on busy after the box";
        BusyCursor failing(notices);
        throw std::runtime_error("The step failed.");
    });
    EXPECT_FALSE(ran);
    EXPECT_FALSE(ui.busyCursor());
    EXPECT_FALSE(notices.busy());
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_FALSE(ui.messages()[0].busyCursor);
    EXPECT_EQ(ui.messages()[1].text, "The step failed.");
    EXPECT_EQ(ui.messages()[1].kind, MessageKind::Error);
    EXPECT_FALSE(ui.messages()[1].busyCursor);
    EXPECT_EQ(ui.beeps(), (std::vector<BeepKind>{BeepKind::Asterisk, BeepKind::Hand}));
}
