// A workbook written back in the version it was read in: each record the writer makes anew
// from the model (page setup, header and footer, code names, fonts, column and window
// settings, links to other workbooks, validations, ...) decoded field by field, equal to the
// record read except where a change of the model explains it.

#include "tests/xls/RecordFields.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/Workbook.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

using namespace xls;
using namespace xls::test;

namespace {

// Fields a write may change, each with the reason. "*" stands for every field of the record.
struct Allowed {
    const char* record;
    const char* field;
    const char* reason;
};
const Allowed AllowList[] = {
    {"DIMENSIONS", "*", "the used range is the cells', and the test sets one"},
    {"ROW", "first column", "a row's used columns are its cells'"},
    {"ROW", "column after the last", "a row's used columns are its cells'"},
    {"FORMAT", "malformed",
     "a text counted longer than the characters stored is written with the count of those"},
};

bool allowed(const std::string& record, const std::string& field) {
    for (const Allowed& entry : AllowList)
        if (record == entry.record && (field == entry.field || std::string(entry.field) == "*"))
            return true;
    return false;
}

// The differences between the made records of two workbook streams, one line each.
std::vector<std::string> fieldDifferences(const std::string& before, const std::string& after) {
    std::vector<SubstreamRecords> old = madeRecordsOf(before);
    std::vector<SubstreamRecords> made = madeRecordsOf(after);
    std::vector<std::string> differences;
    if (old.size() != made.size())
        return {std::to_string(old.size()) + " substreams became " + std::to_string(made.size())};
    for (size_t s = 0; s < old.size(); ++s) {
        std::map<uint16_t, std::vector<const DecodedRecord*>> was, is;
        for (const auto& [id, record] : old[s].records)
            was[id].push_back(&record);
        for (const auto& [id, record] : made[s].records)
            is[id].push_back(&record);
        for (const auto& [id, records] : was) {
            const std::vector<const DecodedRecord*>& written = is[id];
            std::string where = "substream " + std::to_string(s) + " " + records[0]->name;
            if (records.size() != written.size() && !allowed(records[0]->name, "count")) {
                differences.push_back(where + ": " + std::to_string(records.size()) +
                                      " records became " + std::to_string(written.size()));
                continue;
            }
            for (size_t k = 0; k < records.size() && k < written.size(); ++k) {
                std::map<std::string, std::string> fields;
                for (const RecordField& field : written[k]->fields)
                    fields[field.name] = field.value;
                std::map<std::string, std::string> oldFields;
                for (const RecordField& field : records[k]->fields)
                    oldFields[field.name] = field.value;
                if (oldFields.count("malformed") && allowed(records[0]->name, "malformed"))
                    continue;
                for (const auto& [name, value] : oldFields) {
                    auto now = fields.find(name);
                    std::string then = now == fields.end() ? "(missing)" : now->second;
                    if (then != value && !allowed(records[0]->name, name))
                        differences.push_back(where + " #" + std::to_string(k + 1) + " " + name +
                                              ": \"" + value + "\" became \"" + then + "\"");
                }
                for (const auto& [name, value] : fields)
                    if (!oldFields.count(name) && !allowed(records[0]->name, name))
                        differences.push_back(where + " #" + std::to_string(k + 1) + " " + name +
                                              ": added \"" + value + "\"");
            }
        }
        for (const auto& [id, records] : is)
            if (!was.count(id) && !allowed(records[0]->name, "count"))
                differences.push_back("substream " + std::to_string(s) + " " + records[0]->name +
                                      ": " + std::to_string(records.size()) + " records added");
    }
    return differences;
}

} // namespace

TEST(RebuiltRecordsTest, EveryCorpusWorkbookGetsItsRebuiltRecordsBackFieldByField) {
    REQUIRE_XLS_CORPUS();
    int compared = 0;
    for (const std::string& path : corpusWorkbooks()) {
        std::string file = readFile(path);
        Workbook book;
        book.preserveMacros = true;
        try {
            book.readBytes(file);
        } catch (const std::exception&) {
            continue; // damaged or encrypted: refused on reading, which other tests check
        }
        if (book.version() < ExcelVersion::Excel40)
            continue;
        book.sheets().item(0).setAsString(0, 0, "SORT000001");
        std::string out;
        try {
            book.writeToStream(out);
        } catch (const std::exception& e) {
            continue; // refused writes are the write-back test's
        }
        ++compared;
        for (const std::string& difference :
             fieldDifferences(workbookStream(file), workbookStream(out)))
            ADD_FAILURE() << path.substr(path.find("corpora/")) << ": " << difference;
    }
    EXPECT_GT(compared, 200);
}

namespace {

std::string utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text)
        bytes += word(static_cast<uint16_t>(c));
    return bytes;
}

std::string real(double value) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

std::string number(uint16_t row, uint16_t col, double value) {
    return test::record(0x0203, word(row) + word(col) + word(0) + real(value));
}

// Reads a workbook, sets a sort number into its first sheet as the program does, lets the
// caller change the model, and writes it back.
std::string writtenBack(const std::string& file,
                        const std::function<void(Workbook&)>& change = {}) {
    Workbook book;
    book.readBytes(file);
    book.sheets().item(0).setAsString(3, 0, "SORT000001");
    if (change)
        change(book);
    std::string out;
    book.writeToStream(out);
    return out;
}

std::string setup(uint16_t scale, uint16_t fitHeight) {
    // Letter, first page 1, one page wide; portrait, printer settings not set, no
    // orientation; 300 dpi; half-inch header and footer margins; one copy.
    return word(1) + word(scale) + word(1) + word(1) + word(fitHeight) + word(0x0046) + word(300) +
           word(300) + real(0.5) + real(0.5) + word(1);
}

} // namespace

// A list printed fitted to one page wide and as many tall, whose printer settings were never
// set (so the scale beside them means nothing): written back it prints as it did. What the
// model changes is written, the rest stays.
TEST(RebuiltRecordsTest, PageSetupAndSheetFlagsGoBackAsReadAndChangeOnlyWhereTheModelDid) {
    const std::string wsBool = word(0x05C1); // fit to page, summaries below and right, symbols
    const std::string header = word(7) + std::string(1, '\x01') + utf16(u"Лист &P");
    const std::string footer = word(6) + std::string(1, '\0') + "Page&P";
    std::string file = compoundFile(
        biff8Sheets("", {{"List", test::record(0x0081, wsBool) + test::record(0x0014, header) +
                                      test::record(0x0015, footer) +
                                      test::record(0x00A1, setup(255, 0)) + number(0, 0, 75201)}}));
    Workbook book;
    book.readBytes(file);
    const PrintSettings& print = book.sheets().item(0).printSettings();
    EXPECT_EQ(print.fitWidth, 1);
    EXPECT_EQ(print.fitHeight, 0);
    EXPECT_TRUE(print.setupFlags & PrintSettings::PrinterSettingsNotSet);
    EXPECT_TRUE(book.sheets().item(0).workspaceOptions & Sheet::FitToPage);

    std::vector<RawRecord> sheet = substreamsOf(writtenBack(file))[1];
    EXPECT_EQ(bodiesOf(sheet, 0x00A1), std::vector<std::string>{setup(255, 0)});
    EXPECT_EQ(bodiesOf(sheet, 0x0081), std::vector<std::string>{wsBool});
    EXPECT_EQ(bodiesOf(sheet, 0x0014), std::vector<std::string>{header});
    EXPECT_EQ(bodiesOf(sheet, 0x0015), std::vector<std::string>{footer});

    sheet = substreamsOf(writtenBack(file, [](Workbook& changed) {
        Sheet& list = changed.sheets().item(0);
        list.printSettings().scalingFactor = 80;
        list.printSettings().fitHeight = 2;
        list.printSettings().setHeader("Page &P");
        list.workspaceOptions &= static_cast<uint8_t>(~Sheet::FitToPage);
    }))[1];
    EXPECT_EQ(bodiesOf(sheet, 0x00A1), std::vector<std::string>{setup(80, 2)});
    EXPECT_EQ(bodiesOf(sheet, 0x0081), std::vector<std::string>{word(0x04C1)});
    EXPECT_EQ(bodiesOf(sheet, 0x0014),
              std::vector<std::string>{word(7) + std::string(1, '\0') + "Page &P"});
}

// A calculation mode and an object display that the settings do not name (CALCMODE 2, as
// an Excel 5.0 file of another program has it; HIDEOBJ 3) leave the settings as they were,
// and go back as read in both versions; a setting changed since is written as it now is.
TEST(RebuiltRecordsTest, UnnamedCalculationAndObjectModesGoBackAsRead) {
    for (bool biff8 : {true, false}) {
        SCOPED_TRACE(biff8);
        const std::vector<SheetSpec> sheets = {
            {"List", test::record(0x000D, word(2)) + number(0, 0, 75201)}};
        const std::string globals = test::record(0x008D, word(3));
        const std::string file = biff8 ? compoundFile(biff8Sheets(globals, sheets))
                                       : compoundFile(biff5Sheets(globals, sheets), "Book");
        Workbook book;
        book.readBytes(file);
        EXPECT_EQ(book.optionsDialog().calcMode, CalcMode::Automatic);
        EXPECT_EQ(book.optionsDialog().showObjects, ShowObjects::ShowAll);

        std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file));
        EXPECT_EQ(bodiesOf(written[1], 0x000D), std::vector<std::string>{word(2)});
        EXPECT_EQ(bodiesOf(written[0], 0x008D), std::vector<std::string>{word(3)});

        written = substreamsOf(writtenBack(file, [](Workbook& changed) {
            changed.optionsDialog().calcMode = CalcMode::Manual;
            changed.optionsDialog().showObjects = ShowObjects::HideAll;
        }));
        EXPECT_EQ(bodiesOf(written[1], 0x000D), std::vector<std::string>{word(0)});
        EXPECT_EQ(bodiesOf(written[0], 0x008D), std::vector<std::string>{word(2)});
    }
}

// Texts of BIFF8 records the writer makes are Unicode: code names, the path and sheet names
// of another workbook and its names go back as read, not through the ANSI code page; so do
// a font of 9.5 points in the automatic colour, its family and a weight between normal and
// bold. A font the model changes takes the new values and keeps the rest.
TEST(RebuiltRecordsTest, TextsAndFontsGoBackAsReadAndChangeOnlyWhereTheModelDid) {
    auto font = [](uint16_t height, uint16_t colour, uint16_t weight) {
        return word(height) + word(0) + word(colour) + word(weight) + word(0) +
               std::string("\0\x02\xCC\0\x05\0Arial", 11);
    };
    const std::u16string path = u"\x01"
                                u"D\x03Данные\x03Список.xls";
    const std::string supBook = word(1) + word(static_cast<uint16_t>(path.size())) +
                                std::string(1, '\x01') + utf16(path) + word(5) +
                                std::string(1, '\x01') + utf16(u"Лист1");
    const std::string externName =
        word(0) + word(1) + word(0) + std::string("\x03\x01", 2) + utf16(u"Имя") + word(0);
    const std::string bookName = word(8) + std::string(1, '\x01') + utf16(u"ЭтаКнига");
    const std::string sheetName = word(5) + std::string(1, '\x01') + utf16(u"Лист1");
    const std::string globals = test::record(0x0031, font(190, 0x7FFF, 500)) +
                                test::record(0x01BA, bookName) + test::record(0x01AE, supBook) +
                                test::record(0x0023, externName);
    std::string file = compoundFile(
        biff8Sheets(globals, {{"List", test::record(0x01BA, sheetName) + number(0, 0, 1)}}));

    std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file));
    EXPECT_EQ(bodiesOf(written[0], 0x0031), std::vector<std::string>{font(190, 0x7FFF, 500)});
    EXPECT_EQ(bodiesOf(written[0], 0x01BA), std::vector<std::string>{bookName});
    EXPECT_EQ(bodiesOf(written[0], 0x01AE), std::vector<std::string>{supBook});
    EXPECT_EQ(bodiesOf(written[0], 0x0023), std::vector<std::string>{externName});
    EXPECT_EQ(bodiesOf(written[1], 0x01BA), std::vector<std::string>{sheetName});

    written = substreamsOf(writtenBack(file, [](Workbook& changed) {
        XFont& first = changed.fonts().item(0);
        first.size = 12;
        first.color = color::Red;
        first.style |= XFont::Bold;
    }));
    EXPECT_EQ(bodiesOf(written[0], 0x0031), std::vector<std::string>{font(240, 10, 700)});
}

// A validation offering a list of its own, without a drop-down and without an error alert,
// with Unicode texts, and the validations' window settings: as read.
TEST(RebuiltRecordsTest, ValidationsColumnsAndWindowsKeepTheirOptions) {
    const std::string list = std::string("\x17\x03\0a,b", 6);
    const std::string dv = dword(0x00040383) + word(5) + std::string(1, '\x01') + utf16(u"Выбор") +
                           word(1) + std::string(2, '\0') + word(4) + std::string("\0Pick", 5) +
                           word(1) + std::string(2, '\0') + word(6) + word(0x3FE4) + list +
                           word(0) + word(0) + word(1) + word(1) + word(9) + word(2) + word(2);
    const std::string dval = word(0x0002) + dword(614) + dword(223) + dword(7) + dword(1);
    // Column C: width set by the user and best fit, outline level 1; a last word of 2.
    const std::string colInfo = word(2) + word(2) + word(3000) + word(15) + word(0x0106) + word(2);
    // Page break preview of a selected sheet scrolled to row 6, column C, grid colour 23.
    const std::string window2 =
        word(0x0EB6) + word(5) + word(2) + word(23) + word(0) + word(60) + word(0) + dword(0);
    const std::string scl = word(3) + word(4);
    const std::string defaultRow = word(0x0003) + word(300);
    std::string file = compoundFile(biff8Sheets(
        "",
        {{"List", test::record(0x0225, defaultRow) + test::record(0x007D, colInfo) +
                      number(0, 0, 1) + test::record(0x023E, window2) + test::record(0x00A0, scl) +
                      test::record(0x01B2, dval) + test::record(0x01BE, dv)}}));

    std::vector<RawRecord> sheet = substreamsOf(writtenBack(file))[1];
    EXPECT_EQ(bodiesOf(sheet, 0x01BE), std::vector<std::string>{dv});
    EXPECT_EQ(bodiesOf(sheet, 0x01B2), std::vector<std::string>{dval});
    EXPECT_EQ(bodiesOf(sheet, 0x007D), std::vector<std::string>{colInfo});
    EXPECT_EQ(bodiesOf(sheet, 0x023E), std::vector<std::string>{window2});
    EXPECT_EQ(bodiesOf(sheet, 0x00A0), std::vector<std::string>{scl});
    EXPECT_EQ(bodiesOf(sheet, 0x0225), std::vector<std::string>{defaultRow});

    // A zoom set anew is written in both places; the window keeps the rest.
    sheet = substreamsOf(
        writtenBack(file, [](Workbook& changed) { changed.sheets().item(0).zoom = 150; }))[1];
    EXPECT_EQ(bodiesOf(sheet, 0x00A0), std::vector<std::string>{word(150) + word(100)});
    EXPECT_EQ(bodiesOf(sheet, 0x023E),
              std::vector<std::string>{window2.substr(0, 12) + word(150) + dword(0)});
}
