#include "printouts/Barcode.h"
#include "core/Convert.h"
#include "platform/testing/RecordingPrinter.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quillan {
namespace {

struct Bar {
    int left, top, right, bottom;
};

std::vector<Bar> barsIn(const std::vector<std::string>& log) {
    std::vector<Bar> bars;
    for (const std::string& entry : log) {
        std::istringstream in(entry);
        std::string kind;
        Bar b{};
        if (in >> kind && kind == "fillrect" && in >> b.left >> b.top >> b.right >> b.bottom)
            bars.push_back(b);
    }
    return bars;
}

platform::RecordingPrinter printerAt(int dpi) {
    platform::RecordingPrinter::Setup setup;
    setup.dpiX = setup.dpiY = dpi;
    return platform::RecordingPrinter(setup);
}

struct Symbol {
    std::vector<Bar> bars;
    int width; // from the left edge to where the pen ends, after the last bar
    std::vector<std::string> log;
};

Symbol drawSymbol(int dpi, const std::string& digits, int x = 100, int y = 200) {
    auto printer = printerAt(dpi);
    DrawInterleaved2of5(printer, PointScale::forResolution(dpi, dpi), digits, x, y);
    return {barsIn(printer.log()), printer.penPosition().x - x, printer.log()};
}

TEST(Interleaved2of5, DigitPatternsHoldTwoWideElementsEach) {
    EXPECT_EQ(Interleaved2of5Pattern("0"), "NNWWN");
    EXPECT_EQ(Interleaved2of5Pattern("7"), "NNNWW");
    for (char d = '0'; d <= '9'; ++d) {
        std::string pattern = Interleaved2of5Pattern(std::string(1, d));
        EXPECT_EQ(std::count(pattern.begin(), pattern.end(), 'W'), 2) << d;
    }
    EXPECT_THROW(Interleaved2of5Pattern("A"), ConvertError);
    EXPECT_THROW(Interleaved2of5Pattern("12"), ConvertError);
    EXPECT_THROW(Interleaved2of5Pattern(""), ConvertError);
}

TEST(Interleaved2of5, TrayAndSackSymbolsAt72Dpi) {
    Symbol tray = drawSymbol(72, "1234554201");
    ASSERT_EQ(tray.bars.size(), 29u);
    EXPECT_EQ(tray.width, 99);
    for (const Bar& b : tray.bars) {
        EXPECT_EQ(b.top, 200);
        EXPECT_EQ(b.bottom - b.top, 52);
    }
    EXPECT_EQ(tray.bars.front().left, 100);
    EXPECT_EQ(tray.bars.back().right, 100 + 99);

    Symbol sack = drawSymbol(72, "12345542");
    EXPECT_EQ(sack.bars.size(), 24u);
    EXPECT_EQ(sack.width, 81);
    // The brush is black for the bars and white again afterwards.
    EXPECT_EQ(tray.log.front(), "brush (0,0,0)");
    EXPECT_EQ(tray.log.back(), "brush (255,255,255)");
}

TEST(Interleaved2of5, BarsAndSpacesFollowTheDigitPairs) {
    // "10": bars of 1 (W N N N W), spaces of 0 (N N W W N), between start and stop.
    Symbol s = drawSymbol(72, "10", 0, 0);
    ASSERT_EQ(s.bars.size(), 2u + 5u + 2u);
    std::vector<int> widths, gaps;
    for (size_t i = 0; i < s.bars.size(); ++i) {
        widths.push_back(s.bars[i].right - s.bars[i].left);
        if (i > 0)
            gaps.push_back(s.bars[i].left - s.bars[i - 1].right);
    }
    EXPECT_EQ(widths, (std::vector<int>{1, 1, 3, 1, 1, 1, 3, 3, 1}));
    EXPECT_EQ(gaps, (std::vector<int>{1, 1, 1, 1, 3, 3, 1, 1}));
    EXPECT_EQ(s.width, 4 + 18 + 5);
}

TEST(Interleaved2of5, SinglePrecisionFactorAt300Dpi) {
    Symbol s = drawSymbol(300, "1234554201");
    ASSERT_EQ(s.bars.size(), 29u);
    // The stop pattern's wide bar: 3 × 4.1666665 rounds to 12, not 13.
    const Bar& wide = s.bars[s.bars.size() - 2];
    EXPECT_EQ(wide.right - wide.left, 12);
    EXPECT_EQ(s.bars.back().right - s.bars.back().left, 4);
    EXPECT_EQ(s.bars.front().bottom - s.bars.front().top, 217); // 52 × 4.1666665
}

TEST(Interleaved2of5, OddTextLosesItsLastDigitAndNonDigitsDrawNothing) {
    EXPECT_EQ(drawSymbol(72, "123455420").log, drawSymbol(72, "12345542").log);
    auto printer = printerAt(72);
    EXPECT_THROW(
        DrawInterleaved2of5(printer, PointScale::forResolution(72, 72), "12345 4201", 0, 0),
        ConvertError);
    EXPECT_TRUE(printer.log().empty());
}

TEST(AutomationStripes, FourSlantedStripesOnTheBaseline) {
    auto printer = printerAt(72);
    DrawAutomationStripes(printer, PointScale::forResolution(72, 72), 100, 300);
    std::vector<std::string> polygons;
    for (const std::string& entry : printer.log())
        if (entry.rfind("polygon", 0) == 0)
            polygons.push_back(entry);
    ASSERT_EQ(polygons.size(), 4u);
    EXPECT_EQ(polygons[0], "polygon 100,300 112,277 124,277 112,300");
    EXPECT_EQ(polygons[3], "polygon 172,300 184,277 196,277 184,300");
    EXPECT_EQ(printer.log().back(), "brush (255,255,255)");
}

} // namespace
} // namespace quillan
