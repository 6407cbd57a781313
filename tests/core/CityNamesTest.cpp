#include "core/CityNames.h"

#include <gtest/gtest.h>

using namespace quillan;

TEST(CityNames, EachTextIsKeptOnceAndReadBackByItsId) {
    CityNames names;
    int32_t dallas = names.add("DALLAS TX");
    int32_t plano = names.add("PLANO TX");
    EXPECT_NE(dallas, plano);
    EXPECT_EQ(names.add("DALLAS TX"), dallas);
    // Bytes, not letters: another case or a trailing blank is another city.
    EXPECT_NE(names.add("Dallas TX"), dallas);
    EXPECT_NE(names.add("DALLAS TX "), dallas);
    EXPECT_EQ(names.size(), 4u);
    EXPECT_EQ(names.text(dallas), "DALLAS TX");
    EXPECT_EQ(names.text(plano), "PLANO TX");
}

TEST(CityNames, AnEmptyTextOrAnUnknownIdIsNoCity) {
    CityNames names;
    EXPECT_EQ(names.add(""), CityNames::NoCity);
    EXPECT_EQ(names.size(), 0u);
    EXPECT_EQ(names.text(CityNames::NoCity), "");
    EXPECT_EQ(names.text(0), "");
    names.add("AUSTIN TX");
    EXPECT_EQ(names.text(1), "");
    EXPECT_EQ(names.text(-7), "");
}

TEST(CityNames, TablesAreEqualWhenTheyGiveTheSameTextsToTheSameIds) {
    CityNames a, b, c;
    a.add("WACO TX");
    a.add("TYLER TX");
    b.add("WACO TX");
    b.add("TYLER TX");
    b.add("WACO TX");
    c.add("TYLER TX");
    c.add("WACO TX");
    EXPECT_EQ(a, b);
    EXPECT_FALSE(a == c);
}
