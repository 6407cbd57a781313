// Tags on the recording printer: barcodes and stripes per class, two tags to a row and rows
// to a sheet, the page range of the run, the questions asked, and tags that cannot print.

#include "printouts/TagPrintout.h"
#include "printouts/ContainerBlock.h"
#include "tests/printouts/TagRig.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <sstream>

using namespace quillan;
using namespace platform;
using test::TagRig;

namespace {

// Containers 1 to n to 5-digit ZIPs, each with its own package.
void addContainers(TagRig& r, int n, int32_t pieces = 150) {
    for (int k = 1; k <= n; ++k)
        r.filledContainer("CITY ST " + std::to_string(75200 + k), pieces, 75200 + k,
                          "5D " + std::to_string(75200 + k));
}

void printFromMenu(TagRig& r, const std::string& from = "", const std::string& to = "",
                   int copies = 1) {
    r.session.justSorted = false;
    r.env.ui.whenShown("PrintSelectDlog", [=](Form& f) {
        EXPECT_EQ(f.caption(), "Ready to print tags. Be sure tag stock is in printer.");
        if (!from.empty())
            f.control("FromPage").userSetText(from);
        if (!to.empty())
            f.control("ToPage").userSetText(to);
        f.control("Copies").setItemIndex(copies - 1);
        f.control("OKBtn").userClick();
    });
    PrintTags(r.run, r.mailing());
}

struct Rect {
    int left, top, right, bottom;
};

std::vector<Rect> bars(const TagRig& r) {
    std::vector<Rect> out;
    for (const std::string& e : r.entries("fillrect")) {
        std::istringstream in(e.substr(9));
        Rect b{};
        in >> b.left >> b.top >> b.right >> b.bottom;
        out.push_back(b);
    }
    return out;
}

// Where the "Tray #k" or "Sack #k" lines were drawn, in order.
std::vector<std::string> countLines(const TagRig& r) {
    std::vector<std::string> out;
    for (const std::string& e : r.entries("text"))
        if (e.find(" #") != std::string::npos)
            out.push_back(e);
    return out;
}

} // namespace

TEST(Tags, BarcodesAndStripesByClass) {
    for (const char* code : {"RAL", "FAL", "PAL", "RML", "RNML"}) {
        TagRig r(code);
        r.afterSortChoice(1, 9999);
        r.env.ui.answerNextMessage(ModalResult::Ok);
        addContainers(r, 2);
        PrintTags(r.run, r.mailing());
        std::vector<Rect> b = bars(r);
        ASSERT_EQ(b.size(), 58u) << code << ": 29 bars a tray";
        for (const Rect& bar : b)
            EXPECT_EQ(bar.bottom - bar.top, 52) << code;
        EXPECT_EQ(b[28].right - b[0].left, 99) << code;
        bool automation = MailClass::fromCode(code)->isAutomationLetters();
        EXPECT_EQ(r.entries("polygon").size(), automation ? 8u : 0u) << code;
    }
    TagRig sacks("RNAF");
    sacks.afterSortChoice(1, 9999);
    addContainers(sacks, 2);
    PrintTags(sacks.run, sacks.mailing());
    std::vector<Rect> b = bars(sacks);
    ASSERT_EQ(b.size(), 48u) << "24 bars a sack";
    EXPECT_EQ(b[23].right - b[0].left, 81);
    EXPECT_TRUE(sacks.entries("polygon").empty());
    EXPECT_EQ(sacks.entries("title"), std::vector<std::string>{"title Quillan Sack Tags"});
}

TEST(Tags, WideBarsAt300DpiUseTheSinglePrecisionFactor) {
    TagRig r("RAL", TagRig::letterAt(300));
    r.afterSortChoice(1, 9999);
    addContainers(r, 1);
    PrintTags(r.run, r.mailing());
    std::vector<Rect> b = bars(r);
    ASSERT_EQ(b.size(), 29u);
    EXPECT_EQ(b[27].right - b[27].left, 12) << "the stop pattern's wide bar";
}

TEST(Tags, TwoToARowAndRowsThatFitOnASheet) {
    TagRig five("RNML");
    addContainers(five, 5);
    printFromMenu(five);
    // 72 dpi, no offset: left tags at 58 pt, right at 310; rows from 36 pt, 144 pt apart; the
    // count line sits 15 pt in and 130 pt down.
    EXPECT_EQ(countLines(five), (std::vector<std::string>{
                                    "text 73 166 Tray #1   150 pc", "text 325 166 Tray #2   150 pc",
                                    "text 73 310 Tray #3   150 pc", "text 325 310 Tray #4   150 pc",
                                    "text 73 454 Tray #5   150 pc"}));
    EXPECT_EQ(five.printer.pageCount(), 1);

    TagRig eleven("RNML");
    addContainers(eleven, 11);
    printFromMenu(eleven);
    EXPECT_EQ(eleven.printer.pageCount(), 2) << "five rows of 144 pt fit below 36 pt on 792";
    EXPECT_EQ(countLines(eleven).back(), "text 73 166 Tray #11   150 pc");
    EXPECT_EQ(eleven.session.runPageNumber, 2);
}

TEST(Tags, AfterASortTheFirstTagsGoOnTheFirstSheet) {
    TagRig r("RNML");
    addContainers(r, 3);
    r.afterSortChoice(1, 9999);
    r.session.runPageNumber = 4; // the pages of the reports before the tags
    r.env.ui.answerNextMessage(ModalResult::Ok);
    PrintTags(r.run, r.mailing());
    ASSERT_EQ(r.env.ui.messages().size(), 1u);
    EXPECT_EQ(r.env.ui.messages()[0].text, TagStockQuestion);
    EXPECT_EQ(r.env.ui.beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
    EXPECT_TRUE(r.entries("newpage").empty()) << "no blank sheet ahead of the tags";
    EXPECT_EQ(countLines(r).size(), 3u);
    EXPECT_EQ(r.session.runPageNumber, 5);
    EXPECT_EQ(r.entries("title"), std::vector<std::string>{"title Quillan Tray Tags"});
}

TEST(Tags, ThePageRangeLimitsWhatIsDrawn) {
    TagRig upToOne("RNML");
    addContainers(upToOne, 11);
    upToOne.afterSortChoice(1, 1);
    upToOne.env.ui.answerNextMessage(ModalResult::Ok);
    PrintTags(upToOne.run, upToOne.mailing());
    EXPECT_EQ(countLines(upToOne).size(), 10u);
    EXPECT_TRUE(upToOne.entries("newpage").empty());

    TagRig fromTwo("RNML");
    addContainers(fromTwo, 11);
    printFromMenu(fromTwo, "2", "");
    EXPECT_EQ(countLines(fromTwo), std::vector<std::string>{"text 73 166 Tray #11   150 pc"});
    EXPECT_EQ(fromTwo.printer.pageCount(), 1) << "page 1 is laid out on the first sheet";

    TagRig copies("RNML");
    addContainers(copies, 3);
    printFromMenu(copies, "", "", 2);
    EXPECT_EQ(copies.printer.documentCount(), 2);
    EXPECT_EQ(countLines(copies).size(), 6u) << "each copy numbers its pages from 1";
}

TEST(Tags, AskedOnlyWhenSomeoneIsThere) {
    TagRig unattended("RNML", TagRig::letterAt(72), {"list.txt", "NOSTOP"});
    addContainers(unattended, 1);
    unattended.afterSortChoice(1, 9999);
    PrintTags(unattended.run, unattended.mailing());
    EXPECT_TRUE(unattended.env.ui.messages().empty()) << "nobody to put tag stock in";
    EXPECT_EQ(countLines(unattended).size(), 1u);

    TagRig declined("RNML");
    addContainers(declined, 1);
    declined.afterSortChoice(1, 9999);
    declined.env.ui.answerNextMessage(ModalResult::Cancel);
    PrintTags(declined.run, declined.mailing());
    EXPECT_TRUE(declined.printer.log().empty());

    TagRig unticked("RNML");
    addContainers(unticked, 1);
    unticked.afterSortChoice(1, 9999);
    unticked.select.form().control("TagReport").setChecked(false);
    PrintTags(unticked.run, unticked.mailing());
    EXPECT_TRUE(unticked.env.ui.messages().empty());
    EXPECT_TRUE(unticked.printer.log().empty());
}

TEST(Tags, AnUnprintableTagCodeStopsBeforeAnyPrintJob) {
    TagRig r("RAL");
    addContainers(r, 2);
    r.container("%MXD ", 20, "Mixed AADC");
    r.afterSortChoice(1, 9999);
    PrintTags(r.run, r.mailing());
    ASSERT_EQ(r.env.ui.messages().size(), 1u) << "not asked for tag stock first";
    EXPECT_EQ(r.env.ui.messages()[0].kind, MessageKind::Error);
    EXPECT_NE(r.env.ui.messages()[0].text.find("tray 3"), std::string::npos);
    EXPECT_TRUE(r.printer.log().empty());
    EXPECT_FALSE(r.env.ui.busyCursor());

    TagRig fonts("RNAF");
    addContainers(fonts, 1);
    fonts.ctx.lists.fontsList[5] = "big";
    printFromMenu(fonts);
    ASSERT_EQ(fonts.env.ui.messages().size(), 1u);
    EXPECT_NE(fonts.env.ui.messages()[0].text.find("Line 5 of fonts.dat"), std::string::npos);
    EXPECT_TRUE(fonts.printer.log().empty());
}

TEST(Tags, SackTagsCarryADottedCutLine) {
    TagRig r("RNAF", TagRig::letterAt(72, {10, 0}));
    addContainers(r, 1);
    r.ctx.lists.mailerList[4] = "1";
    printFromMenu(r);
    const auto& log = r.printer.log();
    auto dotted = std::find(log.begin(), log.end(), "pen (0,0,0) 1 dot");
    ASSERT_NE(dotted, log.end());
    // Left tag at 58 pt less the 10-unit offset; the cut line 17 pt below the count line (at
    // 88 pt) and up the tag's right side.
    EXPECT_EQ(*(dotted + 1), "moveto 48 105");
    EXPECT_EQ(*(dotted + 2), "lineto 286 105");
    EXPECT_EQ(*(dotted + 3), "lineto 286 36");
    EXPECT_EQ(*(dotted + 4), "pen (0,0,0) 1");
    auto texts = r.entries("text");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "text 154 88 Sack #1   150 pc"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "text 156 110 cut"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "text 154 75 DALLAS TX 752"), texts.end())
        << "the entry office";
}

namespace {

// A text of the log with the size of the font it was drawn in.
struct SizedText {
    int size;
    int x, y;
    std::string text;
    // Its right edge at 72 dpi on the recording printer's metric.
    int right() const {
        return x + static_cast<int>(text.size()) * ((size * 72 * 50 + 3600) / 7200);
    }
};

std::vector<SizedText> sizedTexts(const TagRig& r) {
    std::vector<SizedText> out;
    int size = 0;
    for (const std::string& e : r.printer.log()) {
        std::istringstream in(e);
        std::string word;
        in >> word;
        if (word == "font") { // "font NAME SIZE [STYLE]": the name may hold blanks
            for (std::string token; in >> token;)
                if (std::isdigit(static_cast<unsigned char>(token[0])))
                    size = std::stoi(token);
        } else if (word == "text") {
            SizedText t{size, 0, 0, ""};
            in >> t.x >> t.y;
            std::getline(in >> std::ws, t.text);
            out.push_back(t);
        }
    }
    return out;
}

const SizedText& drawn(const std::vector<SizedText>& texts, const std::string& text) {
    auto found = std::find_if(texts.begin(), texts.end(),
                              [&](const SizedText& t) { return t.text == text; });
    EXPECT_NE(found, texts.end()) << text;
    return found == texts.end() ? texts.front() : *found;
}

} // namespace

// A destination that would run into the ZIP beside it is drawn smaller, down to 7 pt, and
// when even that is too long, without its last words; it always ends clear of the ZIP.
TEST(Tags, ADestinationThatWouldReachItsZipShrinksAndThenLosesWords) {
    TagRig r("RNAF");
    r.container("%MXD ADC NORTH TEXAS TX 75099", 30, "Basic");
    r.container("%MXD ADC NORTHERN NEW MEXICO AND WEST TEXAS TX 75099", 30, "Basic");
    r.container("CITY ST 12345", 30);
    printFromMenu(r);
    std::vector<SizedText> texts = sizedTexts(r);
    ASSERT_FALSE(texts.empty());
    const SizedText& shrunk = drawn(texts, "MXD ADC NORTH TEXAS TX");
    const SizedText& cut = drawn(texts, "MXD ADC NORTHERN NEW");
    const SizedText& whole = drawn(texts, "CITY ST");
    EXPECT_EQ(whole.size, 10) << "a destination that fits keeps its size";
    EXPECT_LT(shrunk.size, 10);
    EXPECT_GE(shrunk.size, 7);
    EXPECT_EQ(cut.size, 7);
    for (const SizedText* destination : {&shrunk, &cut}) {
        auto zip = std::find_if(texts.begin(), texts.end(), [&](const SizedText& t) {
            return t.y == destination->y && t.text == "75099" && t.x > destination->x;
        });
        ASSERT_NE(zip, texts.end());
        EXPECT_LT(destination->right(), zip->x) << destination->text;
    }
}
