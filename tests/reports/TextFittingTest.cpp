// Texts kept within a width: shrunk as far as a tag's texts are, then broken after a mark.

#include "reports/TextFitting.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

// A face whose every character is as wide as its size.
int widthAt(const std::string& text, int size) {
    return static_cast<int>(text.size()) * size;
}

} // namespace

TEST(TextFitting, AZoneListShrinksBeforeItBreaksAfterASlash) {
    FittedLines fits = fitOrBreakAfter('/', "1-2/3/4", 10, 7, 70, widthAt);
    EXPECT_EQ(fits.lines, std::vector<std::string>{"1-2/3/4"});
    EXPECT_EQ(fits.size, 10);

    FittedLines shrunk = fitOrBreakAfter('/', "1-2/3/4/5/6", 10, 7, 80, widthAt);
    EXPECT_EQ(shrunk.lines, std::vector<std::string>{"1-2/3/4/5/6"});
    EXPECT_EQ(shrunk.size, 7);

    FittedLines broken = fitOrBreakAfter('/', "IC/SCF/ADC/1-2/3/4/5/6/7/8", 10, 7, 80, widthAt);
    EXPECT_EQ(broken.lines, (std::vector<std::string>{"IC/SCF/ADC/", "1-2/3/4/5/", "6/7/8"}));
    EXPECT_EQ(broken.size, 7);
    for (const std::string& line : broken.lines)
        EXPECT_LE(widthAt(line, broken.size), 80) << line;

    // An item wider than the line stands on a line of its own rather than being lost.
    FittedLines wide = fitOrBreakAfter('/', "SCF/LONGITEM/3", 10, 7, 35, widthAt);
    EXPECT_EQ(wide.lines, (std::vector<std::string>{"SCF/", "LONGITEM/", "3"}));
}
