// Open Folder: the folder goes to xdg-open, and when nothing can open it the person is told,
// with the folder named.

#include "app/FolderOpener.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

const std::string Folder = "/home/clerk/Quillan/Printouts/";

struct OpenerRig {
    test::TestEnvironment env;
    FolderOpener opener{env.context()};
    const std::vector<ScriptedUi::MessageRecord>& messages() { return env.ui.messages(); }
};

} // namespace

TEST(FolderOpener, WithoutXdgOpenThePersonIsToldWhichFolderItIs) {
    OpenerRig r;
    r.env.shell.succeed = false;
    r.opener.open(Folder);
    ASSERT_EQ(r.env.shell.calls.size(), 1u);
    EXPECT_EQ(r.env.shell.calls[0].program, "xdg-open");
    EXPECT_EQ(r.env.shell.calls[0].arguments, std::vector<std::string>{Folder});
    ASSERT_EQ(r.messages().size(), 1u);
    EXPECT_EQ(r.messages()[0].kind, MessageKind::Warning);
    EXPECT_NE(r.messages()[0].text.find(Folder), std::string::npos) << r.messages()[0].text;
    EXPECT_NE(r.messages()[0].text.find("xdg-open"), std::string::npos);
}

// xdg-open that finds no file manager ends with an error status, on a busy computer only
// after several seconds (as a stand-in "sleep 6; exit 3" does): reported whenever it comes
// while the person would still wonder, and once.
TEST(FolderOpener, XdgOpenThatFindsNoFileManagerIsReported) {
    for (int failsAfter : {6000, FolderOpener::WatchMs - FolderOpener::CheckMs}) {
        SCOPED_TRACE(failsAfter);
        OpenerRig r;
        r.opener.open(Folder);
        r.env.ui.advance(failsAfter);
        EXPECT_TRUE(r.messages().empty()) << "still looking for a program";
        r.env.shell.children.at(0)->ended(3);
        r.env.ui.advance(FolderOpener::CheckMs);
        ASSERT_EQ(r.messages().size(), 1u);
        EXPECT_EQ(r.messages()[0].text, "Quillan cannot open the folder " + Folder +
                                            ": xdg-open found no program to open it (it ended "
                                            "with status 3). Open it with your file manager.");
        r.env.ui.advance(60000);
        EXPECT_EQ(r.messages().size(), 1u) << "told once";
    }
}

TEST(FolderOpener, AFolderOpenedOrAFileManagerStillOpenIsNoFault) {
    OpenerRig r;
    r.opener.open(Folder);
    r.env.shell.children.at(0)->ended(0);
    r.env.ui.advance(1000);
    // xdg-open waits for some file managers while they stay open: that is no failure, and it
    // ending with an error once the watch is over is not reported either.
    r.opener.open(Folder);
    r.env.ui.advance(FolderOpener::WatchMs + 1000);
    r.env.shell.children.at(1)->ended(1);
    r.env.ui.advance(1000);
    EXPECT_TRUE(r.messages().empty());
    EXPECT_EQ(r.env.shell.calls.size(), 2u);
}
