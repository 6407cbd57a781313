// The golden workbook (data/golden.json) written in each version the writer knows: the
// structure check passes and xlrd, with its formatting checks on, reads every value back.

#include "platform/storage/CompoundFile.h"
#include "platform/text/AnsiCodePage.h"
#include "tests/xls/Json.h"
#include "tests/xls/StructureCheck.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/Workbook.h"
#include "xls/XlsUtils.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace xls;
using namespace xls::test;

namespace {

const char* const Cities[] = {"HOMEWOOD", "KINGWOOD", "HURTSBORO", "SPRINGFIELD", "FAIRVIEW"};

std::u16string utf16(const std::string& utf8) {
    std::u16string text;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        size_t length = 1;
        if (c >= 0xE0) {
            code = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
            length = 3;
        } else if (c >= 0xC0) {
            code = ((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
            length = 2;
        }
        text += static_cast<char16_t>(code);
        i += length;
    }
    return text;
}

std::string ansi(const std::string& utf8) {
    return platform::AnsiCodePage::fromUtf16(utf16(utf8));
}

std::string wideFlagged(const std::string& utf8) {
    std::string flagged(1, '\x01');
    for (char16_t c : utf16(utf8)) {
        flagged += static_cast<char>(c & 0xFF);
        flagged += static_cast<char>(c >> 8);
    }
    return flagged;
}

uint8_t errorOrdinal(const std::string& text) {
    for (int i = 1; i <= 7; ++i)
        if (errorIndexToText(i) == text)
            return static_cast<uint8_t>(i);
    return 0;
}

void addList(Sheet& sheet, int rows) {
    const char* header[] = {"Name", "Address", "City", "ZIP", "ZIP text"};
    for (int c = 0; c < 5; ++c)
        sheet.setString(c, 0, header[c], -1);
    for (int r = 1; r <= rows; ++r) {
        int zip = (r * 7919) % 99990 + 1;
        char text[8];
        std::snprintf(text, sizeof text, "%05d", zip);
        sheet.setString(0, r, "NAME " + std::to_string(r), -1);
        sheet.setString(1, r, std::to_string(100 + r) + " MAIN ST", -1);
        sheet.setString(2, r, Cities[r % 5], -1);
        sheet.setFloat(3, r, zip, -1);
        sheet.setString(4, r, text, -1);
    }
}

void addCell(Workbook& book, Sheet& sheet, const Json& cell, bool biff8) {
    bool wide = cell.array.back().kind == Json::Kind::String && cell.array.back().string == "biff8";
    if (wide && !biff8)
        return;
    int row = static_cast<int>(cell[0].number);
    int col = static_cast<int>(cell[1].number);
    const std::string& kind = cell[2].string;
    if (kind == "n")
        sheet.setFloat(col, row, cell[3].number, -1);
    else if (kind == "i")
        sheet.setInteger(col, row, static_cast<int32_t>(cell[3].number), -1);
    else if (kind == "s" && wide)
        sheet.setWideString(col, row, utf16(cell[3].string), -1);
    else if (kind == "s")
        sheet.setString(col, row, ansi(cell[3].string), -1);
    else if (kind == "b")
        sheet.setBoolean(col, row, cell[3].boolean, -1);
    else if (kind == "e")
        sheet.setError(col, row, errorOrdinal(cell[3].string), -1);
    else if (kind == "blank")
        sheet.setBlank(col, row, -1);
    if (kind != "f")
        return;
    std::string tokens(book.encoder().encode(ansi(cell[3].string)).tokens());
    const std::string& result = cell[4].string;
    if (result == "n")
        sheet.setNumberFormula(col, row, tokens, -1, cell[5].number);
    else if (result == "b")
        sheet.setBooleanFormula(col, row, tokens, -1, cell[5].boolean);
    else if (result == "e")
        sheet.setErrorFormula(col, row, tokens, -1, errorIndexToCode(errorOrdinal(cell[5].string)));
    else {
        sheet.setStringFormula(col, row, tokens, -1, "");
        sheet.getCell(col, row)->setFlaggedResult(wide ? wideFlagged(cell[5].string)
                                                       : toXlsString(ansi(cell[5].string)));
    }
}

void buildGolden(Workbook& book, const Json& golden, ExcelVersion version) {
    book.setVersion(version);
    bool first = true;
    for (const Json& description : golden["sheets"].array) {
        if (version == ExcelVersion::Excel40 && !description["biff4"].boolean)
            continue;
        Sheet& sheet = first ? book.sheets().item(0) : book.sheets().add();
        first = false;
        sheet.setName(ansi(description["name"].string));
        if (description.has("list"))
            addList(sheet, static_cast<int>(description["list"]["rows"].number));
        for (int n = 0; n < static_cast<int>(description["strings"].number); ++n) {
            char text[64];
            std::snprintf(text, sizeof text, "string %04d of the golden workbook", n);
            sheet.setString(3, 10 + n, text, -1);
        }
        for (const Json& cell : description["cells"].array)
            addCell(book, sheet, cell, version == ExcelVersion::Excel97);
        for (const Json& range : description["merged"].array) {
            MergedCell& merged = sheet.mergedCells().add();
            merged.row1 = static_cast<int32_t>(range[0].number);
            merged.row2 = static_cast<int32_t>(range[1].number);
            merged.col1 = static_cast<int32_t>(range[2].number);
            merged.col2 = static_cast<int32_t>(range[3].number);
        }
        for (const Json& link : description["links"].array)
            sheet.hyperlinks().push_back(
                {link[2].string + "\t" + link[3].string,
                 cellKey(static_cast<int>(link[1].number), static_cast<int>(link[0].number))});
    }
}

} // namespace

TEST(GoldenWorkbookTest, EveryVersionReadsBackInXlrd) {
    std::string golden = std::string(QUILLAN_XLS_TOOLS) + "/../data/golden.json";
    Json description = Json::parse(readFile(golden));
    ScratchFolder folder;
    for (ExcelVersion version :
         {ExcelVersion::Excel97, ExcelVersion::Excel50, ExcelVersion::Excel40}) {
        Workbook book;
        buildGolden(book, description, version);
        std::string path =
            folder.file("golden" + std::to_string(static_cast<int>(version)) + ".xls");
        book.setFilename(path);
        book.write();
        std::string file = readFile(path);
        EXPECT_EQ(checkWorkbookStructure(file), std::vector<std::string>{}) << path;
        size_t streamSize = 0;
        if (version >= ExcelVersion::Excel50)
            streamSize = platform::CompoundFile::open(file)
                             .readStream(version == ExcelVersion::Excel50 ? "Book" : "Workbook")
                             .size();
        std::string versionNumber = version == ExcelVersion::Excel97   ? "8"
                                    : version == ExcelVersion::Excel50 ? "5"
                                                                       : "4";
        EXPECT_EQ(
            runTool("golden_check.py", {golden, path, versionNumber, std::to_string(streamSize)}),
            "ok\n")
            << versionNumber;
    }
}
