// A list sorted last month sorts again this month: the numbers and lines an earlier sort wrote
// into the fields named for them are never taken for the ZIP, the +4, the state or the city
// of a list whose ZIP field has a name of its own, and a re-sort writes what the first did.

#include "platform/fs/FileBytes.h"
#include "tests/listio/ComponentListSupport.h"
#include "xls/Workbook.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;

namespace {

// The contents of a sorted list as compared between sorts.
using Contents = std::function<std::vector<std::string>(const std::string& path)>;

std::vector<std::string> fileBytes(const std::string& path) {
    return {platform::readFileBytes(path).value_or("")};
}

// Reads the list unattended and writes its sort back as sortAndWrite() does; false, with the
// messages shown, when it was not read.
bool sortOnce(WriterFixture& f, const std::string& path, const std::string& classCode) {
    f.ui().clearRecords();
    if (f.open(path, 0) != path) {
        ADD_FAILURE() << "not read: " << testing::PrintToString(f.messageTexts());
        return false;
    }
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode(classCode);
    return !writeSortInformation(f).failed;
}

// Sorts the list unattended three times; every sort reads it with the fields the first found
// and leaves it as the first left it.
void expectResortsLikeTheFirst(const std::string& path, const Contents& contents,
                               const std::string& classCode = "RNAF") {
    WriterFixture f({path, "NOSTOP"});
    if (!sortOnce(f, path, classCode))
        return;
    const FieldRoles first = f.reading.list.state.roles();
    const std::vector<std::string> sorted = contents(path);
    for (int again = 1; again <= 2; ++again) {
        SCOPED_TRACE("sort " + std::to_string(again + 1));
        if (!sortOnce(f, path, classCode))
            return;
        EXPECT_EQ(f.reading.list.state.roles(), first);
        EXPECT_EQ(contents(path), sorted);
    }
}

// Gives columns of an Access table made by accessTable() names of the same length, in its
// table definition, where the names stand one after another (each its length in bytes, then
// its UCS-2 text).
void renameAccessColumns(const std::string& path,
                         const std::vector<std::pair<std::string, std::string>>& names) {
    auto ucs2 = [](const std::string& name) {
        std::string out{static_cast<char>(2 * name.size()), '\0'};
        for (char c : name)
            out += std::string{c, '\0'};
        return out;
    };
    std::string bytes = platform::readFileBytes(path).value();
    const size_t definition = bytes.find(ucs2("data1") + ucs2("data3") + ucs2("data4"));
    ASSERT_NE(definition, std::string::npos);
    for (const auto& [from, to] : names) {
        ASSERT_EQ(from.size(), to.size());
        const size_t at = bytes.find(ucs2(from), definition);
        ASSERT_NE(at, std::string::npos) << from;
        bytes.replace(at, 2 * from.size() + 2, ucs2(to));
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

// The tray field comes first: its five-digit numbers stand where the ZIP is looked for.
TEST(Resort, DbaseListWithAZipFieldOfItsOwnName) {
    for (bool state : {false, true}) {
        SCOPED_TRACE(state ? "with STATE" : "without STATE");
        ListFixture folder;
        std::vector<TableField> fields = {
            {"NAME", 'C', 12}, {"ADDRESS", 'C', 12}, {"CITY", 'C', 10}, {"SORT", 'C', 6},
            {"TRAY", 'C', 5},  {"PKG", 'N', 5},      {"OEL", 'C', 20},  {"POSTCODE", 'C', 10}};
        std::vector<std::pair<bool, std::vector<std::string>>> records = {
            {false, {"ANN", "1 MAIN", "DALLAS", "", "", "", "", "75201"}},
            {false, {"BO", "2 ELM", "WACO", "", "", "", "", "76701"}},
            {false, {"CY", "3 OAK", "DALLAS", "", "", "", "", "75201"}},
            {false, {"DI", "4 PINE", "AUSTIN", "", "", "", "", "78701"}}};
        if (state) {
            fields.push_back({"STATE", 'C', 2});
            for (auto& record : records)
                record.second.push_back("TX");
        }
        const std::string path = folder.write("list.dbf", dbfTable(fields, records));
        expectResortsLikeTheFirst(path, fileBytes);
    }
}

// Written as text, the tray and package numbers are five digits; the sort number follows the
// heading's "SORT".
TEST(Resort, ExcelListWithAZipFieldOfItsOwnName) {
    for (bool state : {false, true}) {
        SCOPED_TRACE(state ? "with STATE" : "without STATE");
        ListFixture folder;
        const std::string path = folder.env.folder() + "list.xls";
        SheetRows rows = {{std::string("TRAY"), std::string("PKG"), std::string("SORT"),
                           std::string("OEL"), std::string("NAME"), std::string("TOWN"),
                           std::string(state ? "STATE" : "ST"), std::string("ZIP5")}};
        for (const char* zip : {"75201", "76701", "75201", "78701"})
            rows.push_back({std::string(), std::string(), std::string(), std::string(),
                            std::string("ANN LEE"), std::string("DALLAS"), std::string("TX"),
                            std::string(zip)});
        writeWorkbook(path, {{"List", rows}});
        expectResortsLikeTheFirst(path, xlrdCells);
    }
}

// The tray and package fields come first, the sort field after the ZIP, which is named
// "data6"; Text fields, as the table is made.
TEST(Resort, AccessListWithAZipFieldOfItsOwnName) {
    for (bool state : {false, true}) {
        SCOPED_TRACE(state ? "with STATE" : "without STATE");
        ListFixture folder;
        const std::string path =
            accessTable(folder.env.folder() + "list.mdb",
                        {"\t\tDALLAS\tTX\t75201\tANN LEE", "\t\tWACO\tTX\t76701\tBO DIAZ",
                         "\t\tDALLAS\tTX\t75201\tCY ROSS", "\t\tAUSTIN\tTX\t78701\tDI LOPEZ"});
        std::vector<std::pair<std::string, std::string>> names = {
            {"data1", "USER7"}, {"data3", "USER8"}, {"data8", "USER6"}, {"data9", "USER9"}};
        if (state)
            names.push_back({"data5", "STATE"});
        renameAccessColumns(path, names);
        ASSERT_FALSE(testing::Test::HasFatalFailure());
        ASSERT_EQ(mdbExport(path, "Table1").at(0), std::string("USER7,USER8,data4,") +
                                                       (state ? "STATE" : "data5") +
                                                       ",data6,data7,USER6,USER9,data10")
            << "renamed as another reader sees it";
        expectResortsLikeTheFirst(path,
                                  [](const std::string& p) { return mdbExport(p, "Table1"); });
    }
}

// A heading row whose ZIP field is named otherwise ("POSTCODE") still names the sort and
// city fields by their names: it is no record, and no sort writes into it.
TEST(Resort, ExcelHeadingRowWhoseZipFieldIsNotCalledZip) {
    ListFixture folder;
    const std::string path = folder.env.folder() + "list.xls";
    const std::vector<std::string> headings = {"NAME", "CITY", "STATE", "POSTCODE",
                                               "SORT", "TRAY", "PKG"};
    SheetRows rows = {{}};
    for (const std::string& heading : headings)
        rows[0].push_back(heading);
    for (const char* zip : {"75201", "76701", "75201", "78701"})
        rows.push_back({std::string("ANN LEE"), std::string("DALLAS"), std::string("TX"),
                        std::string(zip), std::string(), std::string(), std::string()});
    writeWorkbook(path, {{"List", rows}});

    WriterFixture f({path, "NOSTOP"});
    ASSERT_TRUE(sortOnce(f, path, "RNAF"));
    EXPECT_EQ(f.reading.mailing.recordCount(), 4);
    xls::Workbook book;
    book.setFilename(path);
    book.read();
    for (size_t c = 0; c < headings.size(); ++c)
        EXPECT_EQ(book.sheets().item(0).getAsString(static_cast<int>(c), 0), headings[c]);
    expectResortsLikeTheFirst(path, xlrdCells);
}
