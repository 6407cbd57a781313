// The printed postal lists on the recording printer: what each label block shows and where,
// wrapped ranges, page breaks, the page range and the "Printing" box.

#include "printouts/PostalListPrintout.h"
#include "app/ProgramPrintSession.h"
#include "core/Convert.h"
#include "core/ShortDate.h"
#include "core/ZipRanges.h"
#include "platform/Interruption.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace quillan;
using namespace platform;

namespace {

// The print dialogs as a person who always prints: the range and copies as set here.
class ChosenJob : public PrintJobControl {
public:
    bool askToPrint(const std::string& caption, std::optional<AfterSortReport> report) override {
        captions.push_back(caption);
        EXPECT_FALSE(report.has_value());
        return answer;
    }
    std::optional<ReportChoice> chooseReports(const ReportChoice&, bool) override {
        ADD_FAILURE() << "a postal list chooses no reports";
        return std::nullopt;
    }
    int fromPage() const override { return from; }
    int toPage() const override { return to; }
    int copyCount() const override { return copies; }
    void showPrintingPage(int32_t page) override {
        shownPages.push_back(page);
        if (cancelAtPage == page)
            cancelPressed = true;
        if (exitAtPage == page)
            platform::setInterruptionRequested(true);
    }
    void closePrintingBox() override { ++closes; }
    bool printingBoxWatched() const override { return true; }
    void processPendingInput() override {}
    bool cancelRequested() const override { return cancelPressed; }
    void clearCancel() override { cancelPressed = false; }

    bool answer = true;
    int from = 1;
    int to = 9999;
    int copies = 1;
    std::vector<std::string> captions;
    std::vector<int32_t> shownPages;
    int closes = 0;
    int32_t cancelAtPage = 0;
    int32_t exitAtPage = 0; // the command stopped from outside (Exit) as this page prints
    bool cancelPressed = false;
};

struct DrawnText {
    int x;
    int y;
    std::string text;
};

struct Rig {
    test::TestEnvironment env{test::geographyFolder()};
    ChosenJob job;
    PrintSession session = programPrintSession(env.context(), job, env.notices);
    PrintRun run{session};
    AppContext& ctx = env.context();

    Rig() { env.load(); }

    // A chart of postal list 4 that gives each label the listed prefixes.
    void setAdcList(std::vector<std::string> labels,
                    const std::vector<std::pair<int32_t, std::vector<int>>>& prefixes) {
        ctx.lists.adcLabels = SettingsList(std::move(labels));
        ctx.lists.adcStandardChart = SettingsList(std::vector<std::string>(1000, "0"));
        for (const auto& [label, list] : prefixes)
            for (int p : list)
                ctx.lists.adcStandardChart.set(p, intToStr(label));
    }

    std::vector<DrawnText> texts() const {
        std::vector<DrawnText> out;
        for (const std::string& entry : env.printer.log()) {
            if (entry.rfind("text ", 0) != 0)
                continue;
            std::istringstream in(entry.substr(5));
            DrawnText t;
            in >> t.x >> t.y;
            in.get();
            std::getline(in, t.text);
            out.push_back(t);
        }
        return out;
    }
    std::optional<DrawnText> find(const std::string& text) const {
        for (const DrawnText& t : texts())
            if (t.text == text)
                return t;
        return std::nullopt;
    }
    long count(const std::string& entry) const {
        return std::count(env.printer.log().begin(), env.printer.log().end(), entry);
    }
};

// 600 dpi, US Letter: 36 pt = 300, 12 pt = 100, 24 pt = 200; the right edge is 4800. The
// recording metric gives 42 px a character at 10 pt.
constexpr int CharWidth = 42;
int rightAligned(const std::string& text) {
    return 4800 - CharWidth * static_cast<int>(text.size());
}

} // namespace

TEST(PostalListPrintout, EachLabelShowsTheRangesItsChartGivesIt) {
    Rig r;
    r.setAdcList({"", "ADC ONE*LINE TWO**LINE THREE", "", "ADC UNUSED", "ADC 4", "ADC 5", "ADC 6",
                  "ADC SEVEN"},
                 {{1, {990, 991, 992, 993, 994, 995, 996, 997, 998, 999}},
                  {7, {1, 2, 3, 4, 5, 10}},
                  {2, {500}}});
    PrintPostalLists(r.run, r.ctx.lists, 4);
    EXPECT_EQ(r.job.captions, std::vector<std::string>{"Ready to print postal sorting lists."});
    EXPECT_EQ(r.env.printer.documentCount(), 1);
    EXPECT_EQ(r.count("newpage"), 0);
    EXPECT_EQ(r.job.shownPages, std::vector<int32_t>{1});
    EXPECT_EQ(r.count("title Quillan"), 0) << "the postal lists set no job title";

    std::string header = "Area Distribution Center Labels - Standard - " + todayShortDate();
    std::optional<DrawnText> title = r.find(header);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->y, 300);
    EXPECT_EQ(title->x, (5100 - 55 * static_cast<int>(header.size())) / 2) << "bold, centred";

    // Label 1: ranges on the left, line 1 right-aligned, line 2 in the centre column, line 3
    // right-aligned a line lower.
    std::vector<DrawnText> t = r.texts();
    ASSERT_GE(t.size(), 5u);
    EXPECT_EQ(t[1].text, "990-999");
    EXPECT_EQ(t[1].x, 300);
    EXPECT_EQ(t[1].y, 600);
    EXPECT_EQ(t[2].text, "ADC ONE");
    EXPECT_EQ(t[2].x, rightAligned("ADC ONE"));
    EXPECT_EQ(t[3].text, "LINE TWO");
    EXPECT_EQ(t[3].x, 2400);
    EXPECT_EQ(t[3].y, 600);
    EXPECT_EQ(t[4].text, "LINE THREE");
    EXPECT_EQ(t[4].y, 700);
    // The next block starts 24 pt below the last line of the one before.
    ASSERT_TRUE(r.find("Blank Label"));
    EXPECT_EQ(r.find("Blank Label")->y, 900);
    EXPECT_EQ(r.find("500")->y, 900);
    EXPECT_EQ(r.find("ADC UNUSED")->y, 1100);
    EXPECT_EQ(r.find("No Zips Shown For This Label")->y, 1100);
    EXPECT_EQ(r.find("ADC SEVEN")->y, 1900);
    EXPECT_EQ(r.find("001-005, 010")->y, 1900);
}

TEST(PostalListPrintout, ScfLabelsAndTheThreeDigitUniqueCities) {
    Rig r;
    PrintPostalLists(r.run, r.ctx.lists, 3);
    std::vector<DrawnText> t = r.texts();
    ASSERT_GT(t.size(), 1u);
    for (size_t i = 2; i < t.size(); i += 2)
        EXPECT_EQ(t[i].text.rfind("SCF ", 0), 0u) << t[i].text;

    r.env.printer.clearLog();
    PrintPostalLists(r.run, r.ctx.lists, 1);
    // The fixture's label 1 "SPRINGFIELD MA" holds 010-013, 011 a unique city.
    std::optional<DrawnText> unique = r.find("011");
    ASSERT_TRUE(unique);
    EXPECT_EQ(unique->x, 2400);
    std::optional<DrawnText> ranges =
        r.find(zipRangesForLabel(r.ctx.lists.threeDigitChart, 1).ranges);
    ASSERT_TRUE(ranges);
    EXPECT_EQ(ranges->y, unique->y);
    EXPECT_EQ(r.find("SPRINGFIELD MA")->y, unique->y);
}

// Ranges wider than half the line wrap at commas; nothing is lost or printed twice.
TEST(PostalListPrintout, WideRangesWrapAtCommasKeepingEveryCharacter) {
    Rig r;
    std::vector<int> every3rd;
    for (int p = 3; p <= 999; p += 3)
        every3rd.push_back(p);
    r.setAdcList({"", "ADC WIDE", "ADC NEXT"}, {{1, every3rd}, {2, {1}}});
    PrintPostalLists(r.run, r.ctx.lists, 4);
    std::string full = zipRangesForLabel(r.ctx.lists.adcStandardChart, 1).ranges;
    std::string joined;
    int y = 600;
    int lines = 0;
    for (const DrawnText& t : r.texts()) {
        if (t.x != 300 || t.text == "001")
            continue;
        EXPECT_EQ(t.y, y);
        y += 100;
        ++lines;
        joined += t.text;
    }
    EXPECT_EQ(joined, full);
    // 332 prefixes of 3 digits and ", " between them: 1658 characters of 42 px against a
    // half line of 2400 px gives 30 lines.
    EXPECT_EQ(lines, 30);
    EXPECT_EQ(r.find("001")->y, 600 + 29 * 100 + 200);

    std::mt19937 random(4);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int item = static_cast<int>(random() % 40); item >= 0; --item)
            text += (text.empty() ? "" : ", ") + prefixText(static_cast<int>(random() % 999) + 1) +
                    (random() % 3 == 0 ? "-999" : "");
        int lineCount = static_cast<int>(random() % 12) + 1;
        std::vector<std::string> split = splitRangeText(text, lineCount);
        std::string rejoined;
        for (size_t i = 0; i < split.size(); ++i) {
            rejoined += split[i];
            EXPECT_FALSE(split[i].empty());
            if (i + 1 < split.size()) {
                EXPECT_EQ(split[i].substr(split[i].size() - 2), ", ") << text;
            }
        }
        EXPECT_EQ(rejoined, text);
        EXPECT_LE(split.size(), static_cast<size_t>(lineCount));
    }
}

TEST(PostalListPrintout, LaterPagesCarryTheRunningHeaderAndTheRangeIsObeyed) {
    Rig r;
    std::vector<std::string> labels{""};
    for (int n = 1; n <= 70; ++n)
        labels.push_back("ADC LABEL " + std::to_string(n));
    r.setAdcList(labels, {});
    PrintPostalLists(r.run, r.ctx.lists, 4);
    // Blocks 200 apart from 600; a block needs 200 below it on a 6600 sheet: 30 on the first
    // page, 30 on the second from 550 (under the header), the rest on the third.
    EXPECT_EQ(r.count("newpage"), 2);
    EXPECT_EQ(r.job.shownPages, (std::vector<int32_t>{1, 2, 3}));
    std::string page2 =
        "Area Distribution Center Labels - Standard - " + todayShortDate() + " - Page 2";
    ASSERT_TRUE(r.find(page2));
    EXPECT_EQ(r.find("ADC LABEL 30")->y, 600 + 29 * 200);
    EXPECT_EQ(r.find("ADC LABEL 31")->y, 550);
    EXPECT_EQ(r.find("ADC LABEL 60")->y, 550 + 29 * 200);
    EXPECT_EQ(r.find("ADC LABEL 61")->y, 550);

    // From page 2 to page 2: the first page is laid out undrawn on the sheet page 2 then
    // takes; nothing after page 2.
    r.env.printer.clearLog();
    r.job.from = 2;
    r.job.to = 2;
    PrintPostalLists(r.run, r.ctx.lists, 4);
    EXPECT_FALSE(r.find("ADC LABEL 1"));
    EXPECT_TRUE(r.find("ADC LABEL 31"));
    EXPECT_TRUE(r.find("ADC LABEL 60"));
    EXPECT_FALSE(r.find("ADC LABEL 61"));
    EXPECT_EQ(r.count("newpage"), 0);

    // Cancel in the "Printing" box, or Exit, while page 2 prints: no third page, no second
    // copy. Cancel ends the document of two pages as it is; Exit abandons it, so that it is
    // not kept as if it were the list.
    for (bool exit : {false, true}) {
        SCOPED_TRACE(exit ? "Exit" : "Cancel");
        r.env.printer.clearLog();
        r.job = ChosenJob();
        r.job.copies = 2;
        (exit ? r.job.exitAtPage : r.job.cancelAtPage) = 2;
        PrintPostalLists(r.run, r.ctx.lists, 4);
        platform::setInterruptionRequested(false);
        EXPECT_TRUE(r.find("ADC LABEL 60"));
        EXPECT_FALSE(r.find("ADC LABEL 61"));
        EXPECT_EQ(r.count("newpage"), 1);
        EXPECT_EQ(r.count("begindoc"), 1);
        EXPECT_EQ(r.count("abortdoc"), exit ? 1 : 0);
        EXPECT_EQ(r.count("enddoc"), exit ? 0 : 1);
    }
    // Printed to its end, the document is kept.
    r.env.printer.clearLog();
    r.job = ChosenJob();
    PrintPostalLists(r.run, r.ctx.lists, 4);
    EXPECT_EQ(r.count("enddoc"), 1);
    EXPECT_EQ(r.count("abortdoc"), 0);

    // No answer, no printing.
    r.env.printer.clearLog();
    r.job.answer = false;
    PrintPostalLists(r.run, r.ctx.lists, 4);
    EXPECT_TRUE(r.env.printer.log().empty());
}
