// The range text of a label's prefixes, the typed text read back, and a label given its
// prefixes in a chart.

#include "core/ZipRanges.h"
#include "core/ChartAssignment.h"
#include "core/Convert.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace quillan;

namespace {

SettingsList emptyChart() {
    return SettingsList(std::vector<std::string>(1000, "0"));
}

void give(SettingsList& chart, int32_t value, std::initializer_list<int> prefixes) {
    for (int p : prefixes)
        chart.set(p, intToStr(value));
}

std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(ZipRanges, RunsAreShownByTheirEndsAndUniqueCitiesOneByOne) {
    SettingsList chart = emptyChart();
    give(chart, 7, {1, 2, 3, 4, 5, 10});
    give(chart, 3, {7, 8, 998});
    give(chart, 4, {996, 999});
    give(chart, -4, {990, 997});
    EXPECT_EQ(zipRangesForLabel(chart, 7).ranges, "001-005, 010");
    EXPECT_EQ(zipRangesForLabel(chart, 7).marked, "");
    // A run of exactly two is still a range; a run that stops at 998 ends there.
    EXPECT_EQ(zipRangesForLabel(chart, 3).ranges, "007-008, 998");
    // A marked prefix belongs to the label's runs as well; one at the very end of a run
    // that reaches 999 is listed like any other.
    ZipRangeText four = zipRangesForLabel(chart, 4);
    EXPECT_EQ(four.ranges, "990, 996-997, 999");
    EXPECT_EQ(four.marked, "990, 997");
    chart.set(999, "-4");
    chart.set(998, "4");
    four = zipRangesForLabel(chart, 4);
    EXPECT_EQ(four.ranges, "990, 996-999");
    EXPECT_EQ(four.marked, "990, 997, 999");
    EXPECT_EQ(zipRangesForLabel(chart, 9).ranges, "");
    EXPECT_EQ(zipRangesForLabel(chart, 9).marked, "");

    chart.set(500, "x5");
    EXPECT_EQ(messageOf([&] { zipRangesForLabel(chart, 7); }), "'x5' is not a valid integer value");
    SettingsList shortChart(std::vector<std::string>(10, "1"));
    EXPECT_THROW(zipRangesForLabel(shortChart, 1), ListIndexError);
}

TEST(ZipRanges, TypedTextListsPrefixesAndRangesInTheOrderTyped) {
    EXPECT_EQ(parseZipRanges("001-005, 010"), (std::vector<int>{1, 5, 2, 3, 4, 10}));
    EXPECT_EQ(parseZipRanges("005-001"), (std::vector<int>{5, 1})) << "a reversed range: its ends";
    EXPECT_EQ(parseZipRanges("7-8,  9"), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(parseZipRanges("0, 5, 1000"), (std::vector<int>{5})) << "single values outside";
    EXPECT_TRUE(parseZipRanges("").empty());
    EXPECT_TRUE(parseZipRanges("   ").empty());
    EXPECT_EQ(parsePrefixList("011, 12,999,0"), (std::vector<int>{11, 12, 999}));
    EXPECT_TRUE(parsePrefixList(" ").empty());

    for (auto [text, piece] : std::vector<std::pair<std::string, std::string>>{
             {"1a", "1a"}, {"1,,2", ""}, {"-5", ""}, {"5 ,6", "5 "}, {"5,", ""}, {"1-", ""}}) {
        try {
            parseZipRanges(text);
            ADD_FAILURE() << text;
        } catch (const ConvertError& e) {
            EXPECT_EQ(e.what(), "'" + piece + "' is not a valid integer value") << text;
        }
    }
    EXPECT_THROW(parsePrefixList("011-013"), ConvertError) << "the unique list takes no ranges";

    EXPECT_EQ(messageOf([] { parseZipRanges("050, 100-1000"); }),
              "'100-1000' is not a range of 3-digit ZIP prefixes: both ends must lie from 001 "
              "to 999.");
    EXPECT_THROW(parseZipRanges("0-5"), ZipRangeError);
    EXPECT_EQ(messageOf([] { parseZipRanges("1-5-9, 20"); }),
              "'1-5-9' is not a range of 3-digit ZIP prefixes: a range has two ends.");
    EXPECT_EQ(parseZipRanges("1-999").size(), 999u);
    EXPECT_EQ(messageOf([] { parseZipRanges("1-999, 1-2"); }), "Range check error");
}

// Whatever a chart gives a label, the text shown for it reads back as exactly its prefixes.
TEST(ZipRanges, ShownTextReadsBackAsTheLabelsPrefixes) {
    std::mt19937 random(18);
    std::uniform_int_distribution<int> label(0, 4);
    for (int round = 0; round < 50; ++round) {
        SettingsList chart = emptyChart();
        std::vector<std::set<int>> prefixesOf(5);
        for (int p = 1; p <= 999; ++p) {
            int value = label(random);
            prefixesOf[static_cast<size_t>(value)].insert(p);
            chart.set(p, intToStr(random() % 7 == 0 ? -value : value));
        }
        for (int32_t n = 1; n <= 4; ++n) {
            const std::set<int>& expected = prefixesOf[static_cast<size_t>(n)];
            std::vector<int> read = parseZipRanges(zipRangesForLabel(chart, n).ranges);
            EXPECT_EQ(std::set<int>(read.begin(), read.end()), expected);
        }
    }
}

TEST(ChartAssignment, ListedPrefixesTakeTheLabelAndDroppedOnesLoseIt) {
    SettingsList chart = emptyChart();
    give(chart, 4, {10, 11, 12});
    give(chart, 5, {20});
    assignPrefixes(chart, 4, {12, 20, 30, 30}, {}, ChartMarks::None);
    EXPECT_EQ(chart[10], "0");
    EXPECT_EQ(chart[11], "0");
    EXPECT_EQ(chart[12], "4");
    EXPECT_EQ(chart[20], "4") << "taken from label 5";
    EXPECT_EQ(chart[30], "4");

    // The 3-digit chart marks unique cities among the listed prefixes only.
    SettingsList td = emptyChart();
    give(td, -2, {40});
    give(td, 2, {41, 42});
    assignPrefixes(td, 2, {41, 42, 43, 43}, {42, 43, 50}, ChartMarks::UniqueCities);
    EXPECT_EQ(td[40], "0");
    EXPECT_EQ(td[41], "2");
    EXPECT_EQ(td[42], "-2");
    EXPECT_EQ(td[43], "-2");
    EXPECT_EQ(td[50], "0");

    SettingsList other = emptyChart();
    give(other, -3, {60});
    assignPrefixes(other, 3, {60, 61}, {60}, ChartMarks::None);
    EXPECT_EQ(other[60], "3") << "only the 3-digit chart keeps marks";
}

TEST(ChartAssignment, ScfChartMarksTheOnlyPrefixOfEveryLabelItTouches) {
    SettingsList scf = emptyChart();
    give(scf, 7, {121, 122});
    give(scf, -8, {130});
    assignPrefixes(scf, 4, {120}, {}, ChartMarks::OnlyPrefixOfLabel);
    EXPECT_EQ(scf[120], "-4");
    assignPrefixes(scf, 4, {120, 121}, {}, ChartMarks::OnlyPrefixOfLabel);
    EXPECT_EQ(scf[120], "4");
    EXPECT_EQ(scf[121], "4");
    EXPECT_EQ(scf[122], "-7") << "label 7 is left with one prefix";
    assignPrefixes(scf, 4, {120, 121, 130}, {}, ChartMarks::OnlyPrefixOfLabel);
    EXPECT_EQ(scf[130], "4") << "label 8 lost its only prefix";
    EXPECT_EQ(chartMarksOf(1), ChartMarks::UniqueCities);
    EXPECT_EQ(chartMarksOf(3), ChartMarks::OnlyPrefixOfLabel);
    EXPECT_EQ(chartMarksOf(9), ChartMarks::None);
}

TEST(ChartAssignment, AChartThatCannotBeReadIsLeftAsItWas) {
    SettingsList chart = emptyChart();
    give(chart, 2, {5, 6});
    chart.set(700, "seven");
    SettingsList before = chart;
    EXPECT_THROW(assignPrefixes(chart, 2, {7}, {}, ChartMarks::None), ConvertError);
    EXPECT_EQ(chart.lines(), before.lines());
    SettingsList shortChart(std::vector<std::string>(500, "2"));
    EXPECT_THROW(assignPrefixes(shortChart, 2, {7}, {}, ChartMarks::None), ListIndexError);
    EXPECT_EQ(shortChart.lines(), std::vector<std::string>(500, "2"));
}
