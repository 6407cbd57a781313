#include "xls/XlsUtils.h"
#include "xls/OptionsDialog.h"
#include "xls/Styles.h"
#include "xls/XlsError.h"

#include <gtest/gtest.h>

using namespace xls;

TEST(XlsUtilsTest, ReferenceTexts) {
    EXPECT_EQ(colRowToRefText(0, 0, false, false), "A1");
    EXPECT_EQ(colRowToRefText(27, 9, true, true), "$AB$10");
    EXPECT_EQ(colRowToRefText(255, 0, false, false), "IV1");
    EXPECT_EQ(colRowToRefText(25, 65535, false, true), "Z$65536");
    EXPECT_EQ(colRowToRefText(26, 0, true, false), "$AA1");
}

TEST(XlsUtilsTest, HashOfSharedStrings) {
    EXPECT_EQ(hashXlsString(""), 0);
    EXPECT_EQ(hashXlsString("A"), 0x41);
    EXPECT_EQ(hashXlsString("AB"), 0x0862);
    // The rotation keeps 16 bits: high bits come round instead of falling off
    // (00FF, 1F1F, E31C, 6363 by hand).
    EXPECT_EQ(hashXlsString("\xFF\xFF\xFF\xFF"), 0x6363);
}

TEST(XlsUtilsTest, ErrorValues) {
    EXPECT_EQ(errorCodeToText(0x2A), "#N/A");
    EXPECT_EQ(errorCodeToText(0x00), "#NULL!");
    EXPECT_EQ(errorCodeToText(0x05), "#???");
    for (int ordinal = 1; ordinal <= 7; ++ordinal)
        EXPECT_EQ(errorCodeToIndex(errorIndexToCode(ordinal)), ordinal);
    EXPECT_EQ(errorCodeToIndex(0x05), 0);
    EXPECT_EQ(errorIndexToCode(0), 0x2A);
    EXPECT_EQ(errorIndexToText(0), "[int] No error value");
    EXPECT_THROW(errorIndexToText(8), RangeError);
}

TEST(XlsUtilsTest, HexText) {
    EXPECT_EQ(hexToBytes("0A1BFF"), std::string("\x0A\x1B\xFF"));
    EXPECT_EQ(hexToBytes(""), "");
    EXPECT_THROW(hexToBytes("0G"), RangeError);
    EXPECT_THROW(hexToBytes("0a"), RangeError);
    EXPECT_THROW(hexToBytes("ABC"), RangeError);
}

TEST(XlsUtilsTest, FlaggedStrings) {
    EXPECT_EQ(toXlsString("", true), "\x01");
    EXPECT_EQ(toXlsString("A\xE9", true), std::string("\x01"
                                                      "A\0\xE9\0",
                                                      5));
    EXPECT_EQ(xlsStringSize("abc", true), 7u);
    EXPECT_EQ(toXlsString("ab"), std::string("\0ab", 3));
    EXPECT_EQ(toXlsString("\x93x\x94"), std::string("\x01\x1C\x20x\0\x1D\x20", 7));
    EXPECT_EQ(xlsStringSize("\x93"), 3u);
    EXPECT_EQ(fromXlsString(toXlsString("\x93x\x94")), "\x93x\x94");
    EXPECT_TRUE(isWideXlsString("\x01"));
    EXPECT_FALSE(isWideXlsString(""));

    EXPECT_EQ(readXlsString(ExcelVersion::Excel50, std::string("\0bc", 3), 3),
              std::string("\0bc", 3));
    EXPECT_EQ(readXlsString(ExcelVersion::Excel97, std::string("\0abc", 4), 2), "ab");
    EXPECT_EQ(readXlsString(ExcelVersion::Excel97, std::string("\x01\xAC\x20\x42\x04", 5), 2),
              "\x80?")
        << "UTF-16 comes back in code page 1252, '?' for what it lacks";
    EXPECT_THROW(readXlsString(ExcelVersion::Excel97, std::string("\x01\xAC", 2), 1), XlsError);
    EXPECT_THROW(readXlsString(ExcelVersion::Excel50, "ab", 3), XlsError);
    EXPECT_EQ(charPosXls('b', "abc"), 2);
    EXPECT_EQ(charPosXls('z', "abc"), -1);
}

TEST(XlsUtilsTest, SettingsObjects) {
    OptionsDialog options;
    options.setUserName(std::string(300, 'u'));
    EXPECT_EQ(options.userName().size(), 255u);
    EXPECT_EQ(options.calcMode, CalcMode::Automatic);

    Styles styles;
    styles.addStyle(std::string("\x10\x80\x00\xFF", 4));
    EXPECT_EQ(styles.item(0)[3], 0xFF);
    EXPECT_THROW(styles.addStyle("\x10"), XlsError);
}
