#include "core/Convert.h"

#include <gtest/gtest.h>

using namespace quillan;

TEST(Convert, IntegersAcceptSignAndLeadingBlanksOnly) {
    EXPECT_EQ(strToInt("42"), 42);
    EXPECT_EQ(strToInt("-7"), -7);
    EXPECT_EQ(strToInt("  +3"), 3);
    EXPECT_EQ(strToInt("\t9"), 9);
    EXPECT_EQ(strToInt("-2147483648"), INT32_MIN);
    for (const char* bad : {"", " ", "abc", "12a", "1.5", "2147483648", "-", "12 "}) {
        try {
            strToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(Convert, FloatsNeedAtLeastOneDigit) {
    double v = 0;
    EXPECT_TRUE(tryStrToFloat("2.5", v));
    EXPECT_DOUBLE_EQ(v, 2.5);
    EXPECT_TRUE(tryStrToFloat(".5", v));
    EXPECT_TRUE(tryStrToFloat("3.", v));
    EXPECT_FALSE(tryStrToFloat(".", v));
    EXPECT_FALSE(tryStrToFloat("1.2.3", v));
    EXPECT_FALSE(tryStrToFloat("2,5", v));
    EXPECT_FALSE(tryStrToFloat("1e3", v));
    EXPECT_TRUE(tryStrToFloat(" \t-1.5", v)) << "leading blanks as with integers";
    EXPECT_DOUBLE_EQ(v, -1.5);
}

TEST(Convert, PaddingAndUpperCaseAreByteWise) {
    EXPECT_EQ(zeroPad(1, 6), "000001");
    EXPECT_EQ(zeroPad(1234567, 5), "1234567");
    EXPECT_EQ(upperAscii("san antonio, tx"), "SAN ANTONIO, TX");
    EXPECT_EQ(upperAscii("m\xc3\xa9rida"), "M\xc3\xa9RIDA")
        << "non-ASCII bytes are kept as they are";
}
