#include "platform/testing/ScriptedUi.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/ui/Form.h"
#include "platform/ui/Timer.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(ScriptedUi, ButtonGivesItsModalResultAndHandlerMayTakeItBack) {
    ScriptedUi ui;
    Form form(ui, "TestDlog", "Test");
    auto& ok = form.add(ControlKind::Button, "okBtn", "OK");
    ok.setModalResult(ModalResult::Ok);
    int attempts = 0;
    ok.onClick = [&] {
        if (++attempts == 1)
            form.setModalResult(ModalResult::None); // invalid: keep open
    };
    std::vector<std::string> events;
    form.onActivate = [&] { events.push_back("activate"); };
    form.onShow = [&] { events.push_back("show"); };
    ui.whenShown("TestDlog", [&](Form& f) {
        events.push_back("script");
        f.control("okBtn").userClick();
        f.control("okBtn").userClick();
    });
    EXPECT_EQ(form.showModal(), ModalResult::Ok);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"activate", "show", "script"}));
    EXPECT_TRUE(ui.unexpected().empty());
}

TEST(ScriptedUi, UnexpectedDialogIsCancelledAndReported) {
    ScriptedUi ui;
    Form form(ui, "Surprise", "Surprise");
    EXPECT_EQ(form.showModal(), ModalResult::Cancel);
    ASSERT_EQ(ui.unexpected().size(), 1u);
    EXPECT_EQ(ui.unexpected()[0], "modal Surprise");
}

TEST(ScriptedUi, ProgramChangesFireNoEventsUserChangesDo) {
    ScriptedUi ui;
    Form form(ui, "F", "F");
    auto& edit = form.add(ControlKind::Edit, "PcWt");
    auto& group = form.add(ControlKind::RadioGroup, "WtMin", "Weight");
    group.setItems({"a", "b"});
    int changes = 0, clicks = 0;
    edit.onChange = [&] { ++changes; };
    group.onClick = [&] { ++clicks; };
    edit.setText("1.5");
    group.setItemIndex(1);
    EXPECT_EQ(changes + clicks, 0);
    edit.userSetText("2");
    group.userSetItemIndex(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit.text(), "2");
    EXPECT_EQ(group.itemIndex(), 0);
    edit.setEnabled(false);
    edit.userSetText("3");
    EXPECT_EQ(edit.text(), "2") << "a disabled box takes no input";
}

TEST(ScriptedUi, EditTextIsCutToMaxLengthAndRadioButtonsExcludeEachOther) {
    ScriptedUi ui;
    Form form(ui, "F", "F");
    auto& edit = form.add(ControlKind::Edit, "zip");
    edit.setMaxLength(5);
    edit.userSetText("123456789");
    EXPECT_EQ(edit.text(), "12345");
    auto& a = form.add(ControlKind::RadioButton, "a", "A", "box");
    auto& b = form.add(ControlKind::RadioButton, "b", "B", "box");
    auto& c = form.add(ControlKind::RadioButton, "c", "C", "other");
    a.setChecked(true);
    c.setChecked(true);
    b.userClick();
    EXPECT_FALSE(a.checked());
    EXPECT_TRUE(b.checked());
    EXPECT_TRUE(c.checked()) << "another parent's button is not affected";
}

TEST(ScriptedUi, MessagesAreRecordedAndAnsweredInOrder) {
    ScriptedUi ui;
    ui.answerNextMessage(ModalResult::Cancel);
    EXPECT_EQ(ui.messageBox(MessageKind::Information, MessageButtons::OkCancel, "one", ""),
              ModalResult::Cancel);
    EXPECT_EQ(ui.messageBox(MessageKind::Confirmation, MessageButtons::YesNo, "two", ""),
              ModalResult::Yes)
        << "unanswered boxes take their default button";
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text, "one");
    EXPECT_EQ(ui.messages()[1].kind, MessageKind::Confirmation);
}

TEST(ScriptedUi, TimersRunInVirtualTime) {
    ScriptedUi ui;
    int ticks = 0;
    Timer timer(ui, 500, [&] { ++ticks; });
    ui.advance(10000);
    EXPECT_EQ(ticks, 0) << "a disabled timer never fires";
    timer.setEnabled(true);
    ui.advance(499);
    EXPECT_EQ(ticks, 0);
    ui.advance(1);
    EXPECT_EQ(ticks, 1);
    ui.advance(1000);
    EXPECT_EQ(ticks, 3);
    // Waiting for messages jumps straight to the next tick.
    long long before = ui.now();
    ui.waitForMessages();
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(ui.now(), before + 500);
}

TEST(ScriptedUi, RunLoopEndsOnQuitWithItsStatus) {
    ScriptedUi ui;
    Timer timer(ui, 5000);
    timer.onTimer = [&] {
        timer.setEnabled(false);
        ui.quit(3);
    };
    timer.setEnabled(true);
    EXPECT_EQ(ui.run(), 3);
    EXPECT_TRUE(ui.quitting());
    EXPECT_EQ(ui.now(), 5000);
}

TEST(ScriptedUi, ImageCanvasRecordsDrawing) {
    ScriptedUi ui;
    Form form(ui, "F", "F");
    auto& image = form.add(ControlKind::Image, "Image2");
    image.canvas().rectangle(79, 22, 166, 57);
    auto& log = dynamic_cast<RecordingCanvas&>(image.canvas()).log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "rect 79 22 166 57");
}
