// The make-up block of a container in the mail preparation instructions: its sentence, the
// full-size tag, the postage category box, the contents heading, and its page break.

#include "printouts/ContainerBlock.h"
#include "tests/printouts/TagRig.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace quillan;
using test::TagRig;

namespace {

// Draws the block of tray k (from 0) at pen y inside one copy of a report whose page
// `runPage` is being printed.
ContainerListing drawBlock(TagRig& r, size_t k, int y, bool inRange = true, int32_t runPage = 1) {
    ContainerListing listing{};
    SortedMailing mailing = r.mailing();
    r.run.runCopies("Quillan Mail Prep Instructions", [&] {
        r.session.runPageNumber = runPage;
        r.run.mailPrepMode = true;
        r.run.pageInRange = inRange;
        r.printer.moveTo(0, y);
        listing = PrintContainerBlock(r.run, mailing, TagStyle::of(mailing), k,
                                      ContainerBlockMode::Instructions);
    });
    return listing;
}

} // namespace

TEST(ContainerBlock, MakeUpBlockOfAFiveDigitAutomationTray) {
    TagRig r("RAL");
    r.container("CITY ST 12345", 150);
    EXPECT_EQ(drawBlock(r, 0, 100), ContainerListing::None);
    std::vector<std::string> texts = r.entries("text");
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], "text 36 106 Make a 1' mm-type 5-digit tray totaling 150 pieces in 12345.");
    EXPECT_EQ(texts[1], "text 54 126 Label this tray as:");
    EXPECT_EQ(r.entries("rect"), std::vector<std::string>{"rect 156 126 408 270"});
    std::vector<std::string> tail(texts.end() - 5, texts.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{
                  "text 414 217 All pieces in this tray are in the",
                  "text 414 229 following postage categories:", "text 414 249 Entry Discount: None",
                  "text 414 263 Presort Discount: 5-Digit",
                  "text 54 306 This tray should contain the following zip codes, which "
                  "should be banded to prevent shifting:"}));
    EXPECT_EQ(r.printer.penPosition(), (platform::Point{36, 326}));
}

TEST(ContainerBlock, ContentsAreListedByPackagesGroupsOrZipCodes) {
    TagRig packaged("RNML");
    packaged.container("CITY ST 12345", 150);
    EXPECT_EQ(drawBlock(packaged, 0, 100), ContainerListing::Package);
    EXPECT_EQ(packaged.entries("text").back(),
              "text 54 306 This tray should contain the following packages:");

    TagRig full("RAL");
    full.container("$AADC NORTH TEXAS TX 75099", 450, "AADC"); // 4/5 of 504 is 403.2
    EXPECT_EQ(drawBlock(full, 0, 100), ContainerListing::Group);
    EXPECT_EQ(full.entries("text").back(),
              "text 54 306 This tray should contain the following groups:");
    EXPECT_EQ(full.entries("text")[0],
              "text 36 106 Make a 2' mm-type AADC tray totaling 450 pieces in AADC 75099.");

    TagRig periodicals("PNAF");
    periodicals.container("SCF DALLAS TX 750*", 1, "Basic");
    drawBlock(periodicals, 0, 100);
    std::vector<std::string> texts = periodicals.entries("text");
    EXPECT_EQ(texts[0], "text 36 106 Make an SCF sack totaling 1 piece in SCF 750.");
    EXPECT_EQ(texts[texts.size() - 3], "text 414 146 following postage category:")
        << "no entry discount outside Standard";
}

TEST(ContainerBlock, ABlockThatDoesNotFitStartsAPageOrStopsAtTheToPage) {
    TagRig r("RNML");
    r.container("CITY ST 12345", 150);
    drawBlock(r, 0, 700);
    EXPECT_EQ(r.entries("newpage").size(), 1u);
    EXPECT_EQ(r.entries("text")[1].substr(0, 13), "text 36 72 Ma") << "below the new header";

    // A tray's block ends with its contents heading 206 pt below its top: a block that would
    // leave that heading below the page's bottom (792 pt) goes on the next page with it.
    for (int top : {574, 575}) {
        TagRig tray("RNML");
        tray.container("CITY ST 12345", 150);
        drawBlock(tray, 0, top);
        std::string heading = tray.entries("text").back();
        std::string word;
        int x = 0, headingTop = 0;
        std::istringstream(heading) >> word >> x >> headingTop;
        EXPECT_EQ(tray.entries("newpage").size(), top == 575 ? 1u : 0u) << top;
        EXPECT_LE(headingTop + 12, 792) << heading;
    }

    TagRig last("RNML");
    last.container("CITY ST 12345", 150);
    last.afterSortChoice(1, 1);
    drawBlock(last, 0, 700);
    EXPECT_TRUE(last.session.stopPrinting);
    EXPECT_TRUE(last.entries("text").empty());

    TagRig outOfRange("RNML");
    outOfRange.container("CITY ST 12345", 150);
    drawBlock(outOfRange, 0, 100, false);
    EXPECT_TRUE(outOfRange.entries("text").empty());
    EXPECT_TRUE(outOfRange.entries("fillrect").empty());
    EXPECT_EQ(outOfRange.printer.penPosition(), (platform::Point{36, 326})) << "the pen moves";
}
