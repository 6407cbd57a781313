#include "core/PostalCharts.h"
#include "core/Convert.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;

TEST(PostalCharts, SplitsEveryEntryForm) {
    EXPECT_EQ(splitEntry("A**C"), (EntryLines{"A", "", "C"}));
    EXPECT_EQ(splitEntry("**C"), (EntryLines{"", "", "C"}));
    EXPECT_EQ(splitEntry("A*"), (EntryLines{"A", "", ""}));
    EXPECT_EQ(splitEntry("A*B"), (EntryLines{"A", "B", ""}));
    EXPECT_EQ(splitEntry("A*B**C"), (EntryLines{"A", "B", "C"}));
    EXPECT_EQ(splitEntry("ADC DALLAS TX 752"), (EntryLines{"ADC DALLAS TX 752", "", ""}));
    EXPECT_EQ(joinEntry({"A", "", "C"}), "A**C");
    EXPECT_EQ(joinEntry({"", "", ""}), "");
    for (const EntryLines& lines : {EntryLines{"A", "B", "C"}, EntryLines{"A", "", "C"},
                                    EntryLines{"A", "B", ""}, EntryLines{"", "", "C"}})
        EXPECT_EQ(splitEntry(joinEntry(lines)), lines);
    EXPECT_EQ(firstLine("ADC X*LTR**Y"), "ADC X");
    EXPECT_EQ(firstLine("plain"), "plain");
}

TEST(PostalCharts, LookupsReadTheLineOfThePrefix) {
    SettingsList chart(std::vector<std::string>(1000, "0"));
    chart[12] = "3";
    chart[20] = "-7";
    chart[30] = "abc";
    SettingsList labels({"", "ONE", "TWO", "THREE", "4", "5", "6", "SEVEN"});
    EXPECT_EQ(zipPrefix(1234), 12);
    EXPECT_EQ(zipPrefix(-1234), 12);
    EXPECT_EQ(chartValue(chart, zipPrefix(1234)), 3);
    EXPECT_EQ(chartLabel(chart, labels, zipPrefix(1234)).value(), "THREE");
    EXPECT_EQ(chartLabel(chart, labels, zipPrefix(2099)).value(), "SEVEN") << "-7 names entry 7";
    EXPECT_FALSE(chartLabel(chart, labels, zipPrefix(5000)).has_value()) << "chart value 0";
    chart[40] = "8";
    EXPECT_FALSE(chartLabel(chart, labels, 40).has_value()) << "past the label list's end";
    EXPECT_FALSE(chartLabel(chart, labels, 0).has_value());
    EXPECT_FALSE(chartLabel(chart, labels, 1000).has_value());
    try {
        chartValue(chart, 30);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    try {
        labelText(labels, 9);
        FAIL();
    } catch (const ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (9)");
    }
    ChartIndex index(chart);
    EXPECT_EQ(index.value(20), -7);
    EXPECT_THROW(index.value(30), ConvertError);
    EXPECT_THROW(index.value(1000), ListIndexError);
}

TEST(PostalCharts, TwelveListsShareLabelsAsTheirChartsDo) {
    EXPECT_EQ(postalLists().size(), 12u);
    EXPECT_STREQ(postalList(1).editorTitle, "3-Digit Labels and Unique Cities");
    EXPECT_EQ(postalList(9).chart, postalList(8).chart) << "BMC/ASF entries use the DBMC chart";
    EXPECT_EQ(postalList(4).labels, postalList(5).labels);
    EXPECT_STREQ(postalList(12).chartFile, "zonechrt.dat");
    EXPECT_THROW(postalList(0), std::out_of_range);
    EXPECT_THROW(postalList(13), std::out_of_range);
}

TEST(PostalCharts, ShippedTablesServeTheMailersPrefixEverywhere) {
    test::TestEnvironment env;
    env.load();
    const SettingsLists& l = env.context().lists;
    int32_t zip = strToInt(l.mailerList[3]);
    for (int n : {1, 3, 4, 5, 6, 7, 8, 10, 11, 12}) {
        const PostalList& list = postalList(n);
        EXPECT_NE(chartValue(l.*list.chart, zipPrefix(zip)), 0) << list.chartFile;
    }
}
