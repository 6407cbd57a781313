// The two helpers every printed report shares: half-even rounding and the short date.

#include "core/Rounding.h"
#include "core/ShortDate.h"

#include <gtest/gtest.h>

using namespace quillan;

TEST(PrintUnits, RoundingTakesHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(40.5L), 40);
    EXPECT_EQ(roundHalfEven(41.5L), 42);
    EXPECT_EQ(roundHalfEven(40.500001L), 41);
    EXPECT_EQ(roundHalfEven(299.99998855L), 300);
    EXPECT_EQ(roundHalfEven(-2.5L), -2);
    EXPECT_EQ(roundHalfEven(-3.5L), -4);
}

TEST(PrintUnits, ShortDateHasNoLeadingZeros) {
    EXPECT_EQ(shortDateText(2003, 4, 1), "4/1/2003");
    EXPECT_EQ(shortDateText(2024, 12, 31), "12/31/2024");
}
