#include "tests/xls/XlsTestSupport.h"
#include "xls/CellFormats.h"
#include "xls/ColumnFormats.h"
#include "xls/ExcelMask.h"
#include "xls/XFont.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"

#include <functional>
#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

// Keeps the bits of a body that the model holds: the rest is rebuilt on writing.
std::string masked(std::string body, const std::vector<uint8_t>& mask) {
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(static_cast<uint8_t>(body[i]) & mask[i]);
    return body;
}

} // namespace

TEST(CellFormatTest, XfBodiesOfRealFilesComeBackInTheBitsTheModelKeeps) {
    REQUIRE_XLS_CORPUS();
    struct Case {
        const char* file;
        uint16_t xfId;
        size_t size;
        std::vector<uint8_t> mask;
    };
    // BIFF4: the used-attribute byte and the border colours are rebuilt; the pattern word is
    // kept when the file marks it used. BIFF5: bits 14-15 of the colour words are not kept.
    std::vector<Case> cases = {
        {"poi/testEXCEL_4.xls",
         0x0443,
         12,
         {0xFF, 0xFF, 0x03, 0x00, 0x3F, 0x00, 0xFF, 0xFF, 0x07, 0x07, 0x07, 0x07}},
        {"poi/testEXCEL_5.xls",
         0x00E0,
         16,
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
          0x3F}},
        {"poi/SimpleWithStyling.xls", 0x00E0, 20, std::vector<uint8_t>(20, 0xFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CellFormats formats;
        formats.reset();
        int checked = 0;
        for (const RawRecord& r : recordsOf(workbookStream(readFile(corpusPath(c.file))))) {
            if (r.id == 0x041E && c.size == 12)
                formats.addNumberFormat(r.body.substr(3));
            if (r.id != c.xfId)
                continue;
            ASSERT_EQ(r.body.size(), c.size);
            CellFormat& format = formats.add();
            std::string back;
            std::vector<uint8_t> mask = c.mask;
            if (c.size == 12) {
                format.readXF4(r.body);
                back = format.writeXF4();
                if (!(r.body[5] & 0x20))
                    mask[6] = mask[7] = 0;
                // Vertical "justify" (3) keeps the default; its bits then read as bottom.
                if (((r.body[4] >> 4) & 3) == 3)
                    mask[4] &= 0x0F;
            } else if (c.size == 16) {
                format.readXF5(r.body);
                back = format.writeXF5();
            } else {
                format.readXF8(r.body);
                back = format.writeXF8();
            }
            EXPECT_EQ(masked(back, mask), masked(r.body, mask)) << "XF number " << checked;
            ++checked;
        }
        EXPECT_GT(checked, 10);
    }
}

TEST(CellFormatTest, BiffFourPatternsAndNumberFormats) {
    CellFormats formats;
    for (int i = 0; i < 3; ++i)
        formats.addNumberFormat("fmt");
    CellFormat& format = formats.add();
    uint16_t pattern = 1 | (10 << 6) | (9 << 11);
    std::string body =
        std::string("\x00\x02\x01\x00\x20\x20", 6) + word(pattern) + std::string(4, '\0');
    format.readXF4(body);
    EXPECT_EQ(format.fillPattern(), 1);
    EXPECT_EQ(format.fillForeColor(), 10);
    EXPECT_EQ(format.numberFormatIndex, 52) << "BIFF4 formats follow the built-ins";
    EXPECT_EQ(format.writeXF4().substr(6, 2), word(pattern));

    // A pattern other than solid stays what the file says.
    format.readXF4(std::string("\x00\x00\x01\x00\x20\x20", 6) + word(3 | (12 << 6) | (13 << 11)) +
                   std::string(4, '\0'));
    EXPECT_EQ(format.fillPattern(), 3);
    EXPECT_EQ(format.fillBackColor(), 13);

    format.numberFormatIndex = 14; // a built-in: BIFF4 has no index for it
    EXPECT_THROW(format.writeXF4(), RangeError);
    format.numberFormatIndex = 50 + 256;
    EXPECT_THROW(format.writeXF4(), RangeError);
    format.numberFormatIndex = -1;
    format.fontIndex = 256;
    EXPECT_THROW(format.writeXF4(), RangeError);
    EXPECT_THROW(format.readXF4("short"), XlsError);
}

TEST(CellFormatTest, NumberFormatTexts) {
    CellFormats formats;
    CellFormat& format = formats.item(0);
    format.setNumberFormat("0.00");
    EXPECT_EQ(format.numberFormatIndex, 2);
    format.setNumberFormat("0.000");
    EXPECT_EQ(format.numberFormatIndex, 50);
    EXPECT_EQ(format.numberFormat(), "0.000");
    format.setNumberFormat("H:MM");
    EXPECT_EQ(format.numberFormatIndex, 20) << "case is ignored";
    format.setNumberFormat("");
    EXPECT_EQ(format.numberFormatIndex, -1);
    EXPECT_EQ(format.numberFormat(), "");

    format.setNumberFormat(std::string(255, '0'));
    EXPECT_EQ(format.numberFormatIndex, 51);
    try {
        format.setNumberFormat(std::string(256, '0'));
        FAIL() << "a 256-character mask was taken";
    } catch (const XlsError& e) {
        EXPECT_STREQ(e.what(), "Format string more than 255 characthers");
    }
    EXPECT_EQ(format.numberFormatIndex, 51) << "a refused mask changes nothing";

    formats.setNumberFormatAt(164, "0.0%");
    EXPECT_EQ(formats.numberFormatCount(), 165u);
    EXPECT_EQ(formats.numberFormatText(164), "0.0%");
    EXPECT_EQ(formats.numberFormatText(100), "");
    EXPECT_EQ(formats.numberFormatText(formats.addNumberFormat("General")), "General");
    formats.reset();
    EXPECT_EQ(formats.count(), 0u);
    EXPECT_EQ(formats.numberFormatCount(), 50u);
    EXPECT_EQ(formats.numberFormatText(41), "_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)");
}

TEST(CellFormatTest, MaskSectionsAndDateTokens) {
    ExcelMask mask;
    mask.analyse("0;-0;;@");
    EXPECT_EQ(mask.sectionCount(), 4u);
    EXPECT_TRUE(mask.section(1).has_value());
    EXPECT_FALSE(mask.section(2).has_value());
    EXPECT_TRUE(mask.section(3)->flags & ExcelMask::TextPlaceholder);

    mask.analyse("\"a;b\"0;x;y;z;w");
    EXPECT_EQ(mask.section(0)->tokens[0].text, "a;b") << "a quoted ; does not split";
    EXPECT_EQ(mask.section(3)->tokens.size(), 3u) << "the fourth section keeps the rest";

    auto kinds = [&](const char* text) {
        mask.analyse(text);
        std::vector<int> result;
        for (const ExcelMask::Token& t : mask.section(0)->tokens)
            result.push_back(t.kind);
        return result;
    };
    EXPECT_EQ(kinds("h:mm"),
              (std::vector<int>{ExcelMask::Hour, ExcelMask::Literal, ExcelMask::Minute + 1}));
    EXPECT_EQ(kinds("mm/dd"),
              (std::vector<int>{ExcelMask::Month + 1, ExcelMask::Literal, ExcelMask::Day + 1}));
    EXPECT_EQ(kinds("mm:ss"),
              (std::vector<int>{ExcelMask::Minute + 1, ExcelMask::Literal, ExcelMask::Second + 1}));
    EXPECT_EQ(kinds("h AM/PM"),
              (std::vector<int>{ExcelMask::Hour12, ExcelMask::Literal, ExcelMask::AmPmUpper}));
    EXPECT_EQ(kinds("[h]:mm"), (std::vector<int>{ExcelMask::ElapsedHours, ExcelMask::Literal,
                                                 ExcelMask::Minute + 1}));
    EXPECT_EQ(kinds("#,##0.00"),
              (std::vector<int>{ExcelMask::NumberStart, ExcelMask::Hash, ExcelMask::Hash,
                                ExcelMask::Hash, ExcelMask::Zero, ExcelMask::DecimalPoint,
                                ExcelMask::Zero, ExcelMask::Zero}));
    EXPECT_EQ(mask.section(0)->decimals, 2);
    EXPECT_EQ(mask.section(0)->decimalPosition, 5);
    EXPECT_EQ(mask.section(0)->flags, ExcelMask::Thousands | ExcelMask::HasDecimalPoint);
    mask.analyse("[Red]0.0E+00,,,,,,");
    EXPECT_EQ(mask.section(0)->color, 10);
    EXPECT_TRUE(mask.section(0)->flags & ExcelMask::Exponent);
    EXPECT_EQ(mask.section(0)->trailingThousands, 4);
    mask.analyse("0;0;0");
    EXPECT_EQ(mask.section(2)->flags & ExcelMask::ThirdSection, ExcelMask::ThirdSection);
}

TEST(CellFormatTest, SettersKeepTheUsedFlagsInStep) {
    struct Case {
        const char* what;
        std::function<void(CellFormat&)> change;
        std::function<void(const CellFormat&)> check;
    };
    std::vector<Case> cases = {
        {"rotation -45", [](CellFormat& f) { f.setRotation(-45); },
         [](const CellFormat& f) { EXPECT_EQ(f.rotation(), -45); }},
        {"rotation 200", [](CellFormat& f) { f.setRotation(200); },
         [](const CellFormat& f) { EXPECT_EQ(f.rotation(), 90); }},
        {"rotation 255", [](CellFormat& f) { f.setRotation(255); },
         [](const CellFormat& f) { EXPECT_EQ(f.rotation(), 255); }},
        {"rotation -100", [](CellFormat& f) { f.setRotation(-100); },
         [](const CellFormat& f) { EXPECT_EQ(f.rotation(), -90); }},
        {"fore colour red", [](CellFormat& f) { f.setFillForeColor(color::Red); },
         [](const CellFormat& f) {
             EXPECT_EQ(f.fillPattern(), 1);
             EXPECT_EQ(f.fillBackColor(), color::White);
             EXPECT_TRUE(f.body.indent & 0x4000);
         }},
        {"fore colour automatic",
         [](CellFormat& f) {
             f.setFillBackColor(64);
             f.setFillForeColor(64);
         },
         [](const CellFormat& f) {
             EXPECT_EQ(f.fillPattern(), 0);
             EXPECT_FALSE(f.body.indent & 0x4000);
         }},
        {"shrink twice",
         [](CellFormat& f) {
             f.setFormatOptions(CellFormat::WrapText);
             f.setFormatOptions(CellFormat::ShrinkToFit);
             f.setFormatOptions(CellFormat::ShrinkToFit);
         },
         [](const CellFormat& f) {
             EXPECT_EQ(f.formatOptions(), CellFormat::ShrinkToFit);
             EXPECT_FALSE(f.body.indent & 0x1000);
         }},
        {"options cleared",
         [](CellFormat& f) {
             f.setFormatOptions(CellFormat::ShrinkToFit);
             f.setFormatOptions(0);
         },
         [](const CellFormat& f) { EXPECT_EQ(f.formatOptions(), 0); }},
        {"centred", [](CellFormat& f) { f.setHorizAlignment(HorizAlignment::Center); },
         [](const CellFormat& f) {
             EXPECT_EQ(f.horizAlignment(), HorizAlignment::Center);
             EXPECT_TRUE(f.body.indent & 0x1000);
         }},
        {"diagonal style",
         [](CellFormat& f) { f.setBorderStyle(BorderSide::Diagonal, BorderStyle::Dashed); },
         [](const CellFormat& f) {
             EXPECT_EQ(f.borderStyle(BorderSide::Diagonal), BorderStyle::Dashed);
             EXPECT_TRUE(f.body.indent & 0x2000);
         }},
        {"left border only",
         [](CellFormat& f) {
             f.setBorderStyle(BorderSide::Left, BorderStyle::Thick);
             f.setBorderColor(BorderSide::Left, color::Blue);
         },
         [](const CellFormat& f) {
             EXPECT_EQ(f.borderStyle(BorderSide::Left), BorderStyle::Thick);
             EXPECT_EQ(f.borderColor(BorderSide::Left), color::Blue);
             EXPECT_EQ(f.borderColor(BorderSide::Right), 64);
             EXPECT_FALSE(f.body.indent & 0x2000) << "only the diagonal setter marks borders used";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CellFormats formats;
        c.change(formats.item(0));
        c.check(formats.item(0));
    }
    CellFormats formats;
    EXPECT_THROW(formats.item(0).setDiagLines(4), RangeError);
}

TEST(CellFormatTest, FontsAndColumnFormats) {
    XFonts fonts;
    EXPECT_EQ(fonts.count(), 5u);
    XFont& font = fonts.item(0);
    font.style = XFont::Bold | XFont::StrikeOut;
    font.underline = Underline::Double;
    font.color = color::Red;
    platform::FontDescription drawn = font.toFontDescription(defaultPalette());
    EXPECT_TRUE(drawn.spec.bold);
    EXPECT_TRUE(drawn.strikeOut);
    EXPECT_TRUE(drawn.spec.underline);
    EXPECT_EQ(drawn.color, (platform::Color{255, 0, 0}));
    font.color = 65;
    EXPECT_THROW(font.toFontDescription(defaultPalette()), RangeError);

    ColumnFormats columns;
    ColumnFormat& first = columns.add();
    first.setCol1(2);
    first.setCol2(4);
    first.setWidth(3000);
    columns.add().setCol2(9);
    EXPECT_EQ(columns.widthOfCol(3), 3000);
    EXPECT_EQ(columns.widthOfCol(7), 2500);
    EXPECT_EQ(columns.widthOfCol(10), -1);
    EXPECT_THROW(first.setWidth(65536), XlsError);
    EXPECT_THROW(first.setOutlineLevel(17), XlsError);
}
