// Mailing lists kept in Access tables: choosing the table, reading its fields by their
// types, the output fields a table can take, and writing the sort information back into a
// copy of the database that replaces it only when every record was written.

#include "tests/listio/ComponentListSupport.h"
#include "tests/support/SortTables.h"

#include "listio/ClearedField.h"
#include "listio/FieldChecks.h"
#include "listio/ListFormat.h"
#include "listio/StandInValues.h"
#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/dao/UpdateFault.h"
#include "mdbengine/tables/IndexCheck.h"
#include "xls/Workbook.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

using namespace quillan;
using namespace quillan::test;
using platform::Form;
using platform::MessageKind;

namespace fs = std::filesystem;

namespace {

std::string corpusFile(const std::string& relative) {
    return std::string(QUILLAN_MDB_CORPUS) + "/" + relative;
}

// The repository carries the corpus (tests/corpora): without it the test fails.
#define REQUIRE_MDB_CORPUS()                                                                       \
    do {                                                                                           \
        if (!fs::exists(corpusFile("jackcess/testV2000.mdb")))                                     \
            GTEST_FAIL() << "no .mdb corpus at " << QUILLAN_MDB_CORPUS;                            \
    } while (false)

struct ReadFixture : ListFixture {
    explicit ReadFixture(std::vector<std::string> parameters = {})
        : ListFixture(std::move(parameters)) {
        setLine(&SettingsLists::prefsList, 2, "1");
    }
};

// A mailing as the fill tool takes it: name, address, city, state, ZIP, county; the ZIPs of
// the records numbered in `rejected` are no ZIPs.
std::vector<std::string> mailing(int count, std::vector<int> rejected = {}) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        bool bad = std::find(rejected.begin(), rejected.end(), i) != rejected.end();
        lines.push_back("Pers" + std::to_string(i) + "\t" + std::to_string(i) +
                        " MAIN ST\tDALLAS\tTX\t" +
                        (bad     ? "BAD"
                         : i % 2 ? "75201"
                                 : "75202") +
                        "\tDALLAS");
    }
    return lines;
}

// The columns of the fill tool's table: data1 (name), data3, data4, data5, data6 (ZIP),
// data7, data8, data9, data10.
const Roles outputs = {{"sort", 6}, {"tray", 7}, {"pkg", 8}, {"oel", 5}};

// mdb-export's rows by their first column.
std::map<std::string, std::vector<std::string>> rowsByName(const std::string& path) {
    std::map<std::string, std::vector<std::string>> rows;
    std::vector<std::string> lines = mdbExport(path, "Table1");
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> cells;
        std::string cell;
        for (char c : lines[i] + ",") {
            if (c == ',') {
                cells.push_back(cell);
                cell.clear();
            } else if (c != '"') {
                cell += c;
            }
        }
        rows[cells[0]] = cells;
    }
    return rows;
}

size_t folderEntries(const std::string& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A public database whose table holds the mailing instead of its own rows: each record's
// values set by `fill` (record number from 1, the recordset on a new record).
using Fill = std::function<void(int, mdbengine::Recordset&)>;
std::string corpusList(const std::string& folder, const std::string& file, const std::string& table,
                       int records, const Fill& fill) {
    namespace dao = mdbengine;
    std::string path = folder + fs::path(file).filename().string();
    fs::copy_file(corpusFile(file), path);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> database;
    EXPECT_EQ(engine.openDatabase(path, false, false, {}, database), dao::statusOk);
    EXPECT_EQ(database->execute("DELETE FROM " + table), dao::statusOk);
    std::shared_ptr<dao::Recordset> recordset;
    EXPECT_EQ(database->openRecordset(table, -1, recordset), dao::statusOk);
    for (int r = 1; r <= records; ++r) {
        EXPECT_EQ(recordset->addNew(), dao::statusOk);
        fill(r, *recordset);
        EXPECT_EQ(recordset->update(), dao::statusOk) << r;
    }
    EXPECT_EQ(database->close(), dao::statusOk);
    return path;
}

// The ZIP of record r of a list: every fifth rejected, the others in two ZIP codes.
std::string zipOf(int r) {
    return r % 5 == 0 ? "BAD" : (r % 2 ? "75201" : "75202");
}

// The project table of a public database holding a mailing of 12 records: PROJ_ID (0) and
// PROJ_NAME (1), both uniquely indexed, numbered 1 to 12 and "Pers1" to "Pers12"; the ZIP
// in the Text field PROJ_OPT_CURRENCY_SYMBOL (9).
std::string projectsList(const std::string& folder) {
    return corpusList(folder, "jackcess/test2V2000.mdb", "MSP_PROJECTS", 12,
                      [](int r, mdbengine::Recordset& record) {
                          namespace dao = mdbengine;
                          record.setColumnValue(0, dao::Variant::longInteger(r));
                          record.setColumnValue(1, dao::Variant::text("Pers" + std::to_string(r)));
                          record.setColumnValue(9, dao::Variant::text(zipOf(r)));
                      });
}

} // namespace

TEST(AccessList, TableIsReadInItsOrderAndTheFieldDialogWalksIt) {
    ReadFixture f;
    std::string path = accessTable(f.env.folder() + "list.mdb", mailing(3, {3}));
    std::vector<std::string> seen;
    f.ui().whenShown("VerifyDlog", [&seen](Form& form) {
        auto shown = [&] { seen.push_back(form.control("zip").items().at(0)); };
        EXPECT_EQ(form.control("CurrentRecordLabel").caption(), "Field List");
        shown();
        form.control("nextbtn").userClick();
        shown();
        form.control("nextbtn").userClick();
        shown();
        form.control("prevbtn").userClick();
        shown();
        form.control("prevbtn").userClick();
        shown();
        EXPECT_EQ(form.control("zip").itemIndex(), 4) << "the ZIP found from the content";
        form.control("OKBtn").userClick();
    });
    ASSERT_EQ(f.open(path, 0), path);
    EXPECT_EQ(seen, (std::vector<std::string>{"data1", "Pers1", "Pers2", "Pers1", "data1"}));
    EXPECT_EQ(f.formatRead(), "Access");
    EXPECT_EQ(f.reading.list.state.accessTableName, "Table1");
    const WorkTables& t = f.reading.mailing.tables;
    EXPECT_EQ(test::zipValues(t), (std::vector<int32_t>{75201, 75202, -200000}));
    EXPECT_EQ(t.cities.text(t.pieces.at(0).city), "DALLAS TX");
    EXPECT_EQ(f.reading.mailing.recordCount(), 3);
}

TEST(AccessList, TableIsTheOnlyOneTheNamedOneOrThePersonsChoice) {
    REQUIRE_MDB_CORPUS();
    const std::string file = corpusFile("jackcess/testV2000.mdb");
    {
        ReadFixture f;
        std::string path = f.env.folder() + "tables.mdb";
        fs::copy_file(file, path);
        f.ui().whenShown("TableDlog", [](Form& form) {
            EXPECT_EQ(form.caption(), "Table Selector");
            EXPECT_EQ(form.control("Label1").caption(),
                      "The database you selected has more than one table.");
            EXPECT_EQ(form.control("Label2").caption(),
                      "Double-click on the table you would like to sort:");
            EXPECT_EQ(form.control("TablesGrid").items(),
                      (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
            form.control("TablesGrid").userDoubleClick(); // the first row is selected
        });
        f.ui().pressWhenShown("VerifyDlog", "CancelBtn");
        EXPECT_EQ(f.open(path, 0), "");
        EXPECT_EQ(f.outcome, ReadOutcome::Cancelled) << "the fields were not confirmed";
        EXPECT_EQ(f.reading.list.state.accessTableName, "Table1");
        f.ui().pressWhenShown("TableDlog", "CancelBtn");
        EXPECT_EQ(f.open(path, 0), "");
        EXPECT_EQ(f.outcome, ReadOutcome::Cancelled) << "no table was chosen";
        EXPECT_EQ(f.reading.list.state.accessTableName, "") << "cancelled: no table";
        EXPECT_TRUE(f.ui().unexpected().empty());
    }
    {
        ReadFixture f({file, "DUZIZ", "tAbLe1"});
        EXPECT_EQ(f.open(file, 0), "") << "no ZIP field in Table1";
        EXPECT_EQ(f.outcome, ReadOutcome::Refused) << "nobody cancelled";
        EXPECT_EQ(f.reading.list.state.accessTableName, "Table1");
        EXPECT_TRUE(f.ui().formLog().empty());
    }
    {
        ReadFixture f;
        std::string path = accessTable(f.env.folder() + "one.mdb", mailing(2));
        ASSERT_EQ(f.open(path), path);
        EXPECT_EQ(f.ui().formLog().back(), "modal VerifyDlog") << "one table: no selector";
    }
}

TEST(AccessList, FieldsAreReadByTheirType) {
    REQUIRE_MDB_CORPUS();
    ReadFixture f;
    std::string path = corpusFile("jackcess/testV2000.mdb");
    f.ui().whenShown("TableDlog", [](Form& form) { form.control("TablesGrid").userDoubleClick(); });
    std::vector<std::string> record2;
    f.ui().whenShown("VerifyDlog", [&record2](Form& form) {
        form.control("nextbtn").userClick();
        form.control("nextbtn").userClick();
        record2 = form.control("zip").items();
        form.control("zip").userSetItemIndex(3); // D, an Integer field
        form.control("OKBtn").userClick();
    });
    ASSERT_EQ(f.open(path, 0), path);
    // A, B text; C byte and D integer empty; E long; F double; G date empty; H currency as
    // a float; I boolean empty. The table walks its primary key: "abcdefg" second.
    EXPECT_EQ(record2, (std::vector<std::string>{"abcdefg", "hijklmnop", "", "", "333333333",
                                                 "444.555", "", "3.5", ""}));
    const WorkTables& t = f.reading.mailing.tables;
    EXPECT_EQ(test::zipValues(t), (std::vector<int32_t>{-200000, -200000}))
        << "an Integer field reads empty: no ZIP";
}

TEST(AccessList, OutputFieldsTheTableCannotTakeAreRefusedBeforeReading) {
    WriterFixture f;
    ListState& s = f.reading.list.state;
    s.zipColumn = 0;
    s.accessFields = {{"ZIP", 1, 10, false}, {"SEQ", 1, 5, false},
                      {"NUM", 3, 4, false},  {"WHEN", 11, 8, false},
                      {"ID", 3, 4, true},    {"OEL", 1, 20, false},
                      {"SEQ6", 1, 6, false}, {"SMALL", 2, 0, false, 32767},
                      {"RATE", 6, 0, false}, {"COST", 7, 0, false},
                      {"NOTE", 16, 0, false}};
    auto problem = [&](std::initializer_list<std::pair<int FieldRoles::*, int>> roles) {
        s.sortColumn = s.trayColumn = s.packageColumn = s.endorsementColumn = -1;
        for (auto [role, column] : roles)
            s.*role = column;
        std::vector<std::string> problems =
            checkFieldRoles(f.reading.list.state, f.ctx().lists, *formatNamed("Access"));
        return problems.empty() ? std::string() : problems[0];
    };
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 1}}),
              "The field you chose for the sorting information is too short. It must be able to "
              "hold at least 6 characters.");
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 6}, {&FieldRoles::endorsementColumn, 5}}), "");
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 2},
                       {&FieldRoles::trayColumn, 2},
                       {&FieldRoles::packageColumn, 2}}),
              "")
        << "Long Integer fields take numbers";
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 6}, {&FieldRoles::endorsementColumn, 2}}),
              "The field you chose for the endorsement line (OEL) must be a Text or Memo field.");
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 6}, {&FieldRoles::trayColumn, 3}}),
              "The field you chose for the tray/sack number must be a Text, Number or Currency "
              "field.");
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 7},
                       {&FieldRoles::trayColumn, 8},
                       {&FieldRoles::packageColumn, 9},
                       {&FieldRoles::endorsementColumn, 10}}),
              "")
        << "Integer, Double and Currency fields take numbers, a Memo field the endorsement";
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 6}, {&FieldRoles::endorsementColumn, 9}}),
              "The field you chose for the endorsement line (OEL) must be a Text or Memo field.");
    EXPECT_NE(problem({{&FieldRoles::sortColumn, 4}}).find("(\"ID\") cannot be changed"),
              std::string::npos);
    EXPECT_EQ(problem({{&FieldRoles::sortColumn, 0}}),
              "The field you chose for the sorting information already holds the zip code, "
              "city, state or county. Please choose another field.");
}

// Integer and Byte fields take the numbers only while they fit: the largest sequence, tray
// and package numbers of the sorted mailing are held against each field's largest.
TEST(AccessList, IntegerFieldsTooSmallForTheMailingsNumbersAreNamed) {
    ListState s;
    s.accessFields = {{"SEQ", 2, 0, false, 32767},
                      {"TRAY", 2, 0, false, 255},
                      {"PKG", 3, 0, false, 2147483647},
                      {"RATE", 6, 0, false}};
    s.sortColumn = 0;
    s.trayColumn = 1;
    s.packageColumn = 2;
    EXPECT_EQ(accessNumbersProblem(s, {32767, 255, 40000}), std::nullopt) << "all fit";
    EXPECT_EQ(accessNumbersProblem(s, {32768, 12, 40}),
              "The field you chose for the sorting information (\"SEQ\") holds whole numbers up "
              "to 32767, and this mailing's go up to 32768. Please choose a Long Integer, Double "
              "or Text field for it and sort the list again.");
    EXPECT_NE(accessNumbersProblem(s, {100, 256, 40})
                  ->find("(\"TRAY\") holds whole numbers up to "
                         "255"),
              std::string::npos);
    s.sortColumn = 3;
    EXPECT_EQ(accessNumbersProblem(s, {5000000, 1, 1}), std::nullopt) << "a Double field";
}

TEST(AccessList, OutputFieldsTooShortOrOfTheWrongTypeAreRefusedAtOpen) {
    REQUIRE_MDB_CORPUS();
    struct Case {
        const char* file;
        Roles roles;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        // PROJ_READ_WRITE is a Text (4) field.
        {"jackcess/test2V2000.mdb",
         {{"zip", 1}, {"sort", 65}},
         "The field you chose for the sorting information is too short. It must be able to hold "
         "at least 6 characters."},
        // E is a Long Integer, G a date.
        {"jackcess/testV2000.mdb",
         {{"zip", 5}, {"sort", 4}, {"tray", 6}},
         "The field you chose for the tray/sack number must be a Text, Number or Currency "
         "field."}};
    for (const Case& c : cases) {
        WriterFixture f;
        std::string path = f.env.folder() + "types.mdb";
        fs::copy_file(corpusFile(c.file), path);
        const std::string hash = sha256Of(path);
        f.ui().whenShown("TableDlog",
                         [](Form& form) { form.control("TablesGrid").userDoubleClick(); });
        f.ui().whenShown("VerifyDlog", [&c](Form& form) {
            for (const auto& [combo, column] : c.roles)
                form.control(combo).userSetItemIndex(column);
            form.control("OKBtn").userClick();
        });
        f.ui().pressWhenShown("VerifyDlog", "CancelBtn");
        EXPECT_EQ(f.open(path, 0), "") << c.file;
        ASSERT_EQ(f.messageTexts().size(), 1u) << c.file;
        EXPECT_EQ(f.messageTexts()[0], c.refusal);
        EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u) << c.file;
        EXPECT_EQ(sha256Of(path), hash) << c.file;
    }
}

TEST(AccessWriter, RecordsGetTheirNumbersAndEveryOtherColumnStays) {
    WriterFixture f;
    std::string path = accessTable(f.env.folder() + "list.mdb", mailing(10, {4, 9}));
    auto before = rowsByName(path);
    ASSERT_EQ(before.size(), 10u);
    ASSERT_EQ(openWithRoles(f, path, outputs), path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RAL");
    f.ui().clearRecords();
    ASSERT_FALSE(test::writeSortInformation(f).failed);

    auto after = rowsByName(path);
    ASSERT_EQ(after.size(), 10u);
    std::vector<std::string> sortedNames(10);
    for (auto& [name, cells] : after) {
        ASSERT_EQ(cells.size(), 9u) << name;
        for (size_t c = 0; c < 5; ++c)
            EXPECT_EQ(cells[c], before[name][c]) << name << " column " << c;
        const int sequence = std::stoi(cells[6]);
        ASSERT_GE(sequence, 1);
        ASSERT_LE(sequence, 10);
        sortedNames[static_cast<size_t>(sequence - 1)] = name;
        const bool rejected = name == "Pers4" || name == "Pers9";
        EXPECT_EQ(cells[5], rejected ? "" : " ") << name << ": no endorsement in this class";
        if (rejected) {
            EXPECT_EQ(cells[7] + cells[8], "0000000000") << name;
        }
    }
    // 75201 (odd records) in one tray, 75202 in the next; the rejected last, in list order.
    EXPECT_EQ(sortedNames,
              (std::vector<std::string>{"Pers1", "Pers3", "Pers5", "Pers7", "Pers2", "Pers6",
                                        "Pers8", "Pers10", "Pers4", "Pers9"}));
    EXPECT_EQ(after["Pers3"][7], "00001");
    EXPECT_EQ(after["Pers6"][8], "00002");
    EXPECT_EQ(folderEntries(f.env.folder()), 2u) << "the list and tables/, no copy left";
    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].text,
              "Quillan has saved sorting information in the table named \"Table1\". Using your "
              "mailing list software, you should now sort the table in ascending order based on "
              "the field named \"data8\". Before you do, would you like to add barcodes to this "
              "file?");
}

// The same records as a text list, an Access table and an Excel sheet: ordered by the sort
// numbers written into them, table and sheet come in the order of the rewritten text list.
TEST(AccessWriter, SortNumbersOfTableAndSheetGiveTheOrderOfTheRewrittenTextList) {
    std::vector<std::string> records = mailing(30, {7, 20});
    for (size_t i = 0; i < records.size(); i += 3) // some ZIP+4 to order apart
        records[i].replace(records[i].rfind("\t"), 0, "-1234");
    WriterFixture text;
    std::string list = text.write("list.txt", crlf(records));
    text.sortAndWrite(list);
    std::vector<std::string> textOrder;
    for (const auto& line : text.fileLines(list))
        textOrder.push_back(line.substr(0, line.find('\t')));

    auto sortAndWrite = [](WriterFixture& f, const std::string& path, const Roles& roles) {
        EXPECT_EQ(openWithRoles(f, path, roles), path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        EXPECT_FALSE(test::writeSortInformation(f).failed) << path;
    };
    WriterFixture access;
    std::string mdb = accessTable(access.env.folder() + "list.mdb", records);
    sortAndWrite(access, mdb, outputs);
    std::vector<std::string> accessOrder(records.size());
    for (const auto& [name, cells] : rowsByName(mdb))
        accessOrder.at(static_cast<size_t>(std::stoi(cells[6]) - 1)) = name;
    EXPECT_EQ(accessOrder, textOrder);

    // The sheet: the six fields as text cells, then three cells for the sort information.
    WriterFixture excel;
    SheetRows rows;
    for (const std::string& record : records) {
        std::vector<CellValue>& row = rows.emplace_back();
        for (size_t from = 0, tab = 0; tab != std::string::npos; from = tab + 1) {
            tab = record.find('\t', from);
            row.push_back(record.substr(from, tab == std::string::npos ? tab : tab - from));
        }
        row.insert(row.end(), 3, std::string("old"));
    }
    std::string xls = excel.env.folder() + "list.xls";
    writeWorkbook(xls, {{"List", rows}});
    sortAndWrite(excel, xls, {{"zip", 4}, {"sort", 6}, {"tray", 7}, {"pkg", 8}});
    xls::Workbook book;
    book.setFilename(xls);
    book.read();
    xls::Sheet& sheet = book.sheets().item(0);
    std::vector<std::string> excelOrder(records.size());
    for (int row = 0; row <= sheet.lastRow; ++row)
        excelOrder.at(static_cast<size_t>(std::stoi(sheet.getAsString(6, row)) - 1)) =
            sheet.getAsString(0, row);
    EXPECT_EQ(excelOrder, textOrder);
}

TEST(AccessWriter, AFailedWriteLeavesTheDatabaseAsItWas) {
    enum Failure { UpdateFails, TooBig, ReadOnlyFolder, ReadOnlyList, ChangedSinceRead };
    for (Failure failure : {UpdateFails, TooBig, ReadOnlyFolder, ReadOnlyList, ChangedSinceRead}) {
        WriterFixture f;
        std::string path = accessTable(f.env.folder() + "list.mdb", mailing(600));
        ASSERT_EQ(openWithRoles(f, path, outputs), path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        if (failure == ChangedSinceRead)
            accessTable(path, mailing(599));
        const std::string hash = sha256Of(path);
        f.ui().clearRecords();
        if (failure == ReadOnlyFolder || failure == ReadOnlyList) {
            // A list the user may not change is left with the advice every kind of list gets.
            EXPECT_TRUE(readOnlyWriteFails(f, path, failure == ReadOnlyList)) << failure;
        } else {
            mdbengine::failUpdateAfterForTesting(failure == UpdateFails ? 500 : 0);
            FileSizeLimit limit(failure == TooBig ? fs::file_size(path) / 2 : RLIM_INFINITY);
            EXPECT_TRUE(test::writeSortInformation(f).failed);
            mdbengine::failUpdateAfterForTesting(0);
            expectNotSavedOnly(f, "Quillan could not save the sorting information in the file "
                                  "\"list.mdb\".");
            if (failure == UpdateFails) {
                EXPECT_NE(f.messageTexts()[0].find("'" + path + "' could not be written"),
                          std::string::npos)
                    << "the error names the list, not the copy: " << f.messageTexts()[0];
            }
        }
        EXPECT_EQ(sha256Of(path), hash) << failure;
        EXPECT_EQ(folderEntries(f.env.folder()), 2u) << failure << ": no copy left";
    }
}

// A front end whose mailing list is a linked table: it is read and sorted from the file the
// link names, found beside it, and the sort information goes into that file, or, when the
// write fails, nowhere.
TEST(AccessWriter, ALinkedTableIsWrittenInTheFileItLivesIn) {
    REQUIRE_MDB_CORPUS();
    for (bool fails : {false, true}) {
        WriterFixture f;
        std::string front = f.env.folder() + "linked.mdb";
        fs::copy_file(corpusFile("ucanaccess/linked.mdb"), front);
        std::string data = accessTable(f.env.folder() + "linkee1.mdb", mailing(10, {4, 9}));
        const std::string frontHash = sha256Of(front);
        const std::string dataHash = sha256Of(data);
        f.ui().whenShown("TableDlog", [](Form& form) {
            EXPECT_EQ(form.control("TablesGrid").items(),
                      (std::vector<std::string>{"Table1", "table2"}));
            form.control("TablesGrid").userDoubleClick(); // the first row is selected
        });
        ASSERT_EQ(openWithRoles(f, front, outputs), front);
        EXPECT_EQ(f.reading.list.state.accessTableName, "Table1");
        EXPECT_EQ(f.reading.mailing.recordCount(), 10);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RAL");
        mdbengine::failUpdateAfterForTesting(fails ? 5 : 0);
        EXPECT_EQ(test::writeSortInformation(f).failed, fails);
        mdbengine::failUpdateAfterForTesting(0);
        EXPECT_EQ(sha256Of(front), frontHash) << "the front end holds only the link";
        if (fails) {
            EXPECT_EQ(sha256Of(data), dataHash) << "nothing of a failed write lands";
        } else {
            std::set<int> numbers;
            for (const auto& [name, cells] : rowsByName(data))
                numbers.insert(std::stoi(cells[6]));
            EXPECT_EQ(numbers.size(), 10u);
            EXPECT_EQ(*numbers.rbegin(), 10);
        }
        EXPECT_EQ(folderEntries(f.env.folder()), 3u) << "no copy left";
    }
}

// A table whose endorsement field is a Memo and whose number fields are Double and Integer
// (a project table of the public files, its own rows replaced by a mailing): the numbers and
// endorsement lines go in as they would into Text fields.
TEST(AccessWriter, NumbersGoIntoNumberFieldsAndTheEndorsementIntoAMemo) {
    REQUIRE_MDB_CORPUS();
    WriterFixture f;
    // PROJ_ID (0) and PROJ_NAME (1) are uniquely indexed; the ZIP goes into the Text field
    // PROJ_OPT_CURRENCY_SYMBOL (9).
    std::string path = projectsList(f.env.folder());
    // Sort and tray into the Doubles PROJ_OPT_DEF_OVT_RATE (16) and PROJ_OPT_DEF_STD_RATE
    // (17), package into the Integer PROJ_OPT_CURRENCY_DIGITS (7), endorsement into the Memo
    // PROJ_PROP_AUTHOR (2).
    ASSERT_EQ(
        openWithRoles(f, path, {{"zip", 9}, {"sort", 16}, {"tray", 17}, {"pkg", 7}, {"oel", 2}}),
        path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    f.ui().clearRecords();
    ASSERT_FALSE(test::writeSortInformation(f).failed) << f.messageTexts().at(0);

    std::map<int, std::vector<std::string>> rows; // by PROJ_ID
    std::vector<std::string> lines = mdbExport(path, "MSP_PROJECTS");
    ASSERT_EQ(lines.size(), 13u);
    std::set<int> sequence;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> cells = csvCells(lines[i]);
        ASSERT_GE(cells.size(), 18u);
        int r = std::stoi(cells[0]);
        bool rejected = zipOf(r) == "BAD";
        sequence.insert(std::stoi(cells[16]));
        EXPECT_EQ(cells[17], rejected ? "0" : (r % 2 ? "1" : "2")) << r << ": the tray";
        EXPECT_EQ(cells[7], rejected ? "0" : (r % 2 ? "1" : "2")) << r << ": the package";
        EXPECT_EQ(cells[2].size(), rejected ? 0u : 20u) << r << ": the endorsement line";
    }
    EXPECT_EQ(sequence, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

// A Byte field cannot hold the sequence numbers of 300 records: the sort is refused by the
// field's name before anything is written, and the database stays as it was; an Integer
// field takes them.
TEST(AccessWriter, AnIntegerFieldTooSmallForTheNumbersIsRefusedByName) {
    REQUIRE_MDB_CORPUS();
    for (int sortField : {2, 3}) { // C is a Byte field, D an Integer one
        WriterFixture f;
        std::string path =
            corpusList(f.env.folder(), "jackcess/testV2000.mdb", "Table1", 300,
                       [](int r, mdbengine::Recordset& record) {
                           namespace dao = mdbengine;
                           record.setColumnValue(0, dao::Variant::text("Pers" + std::to_string(r)));
                           record.setColumnValue(1, dao::Variant::text(zipOf(r)));
                       });
        f.ui().whenShown("TableDlog",
                         [](Form& form) { form.control("TablesGrid").userDoubleClick(); });
        ASSERT_EQ(
            openWithRoles(f, path, {{"zip", 1}, {"sort", sortField}, {"tray", 5}, {"pkg", 4}}),
            path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        const std::string hash = sha256Of(path);
        f.ui().clearRecords();
        EXPECT_EQ(test::writeSortInformation(f).failed, sortField == 2);
        if (sortField == 2) {
            expectNotSavedOnly(f, "The field you chose for the sorting information (\"C\") holds "
                                  "whole numbers up to 255, and this mailing's go up to 300.");
            EXPECT_EQ(sha256Of(path), hash);
            EXPECT_EQ(folderEntries(f.env.folder()), 2u) << "no copy left";
            continue;
        }
        std::set<int> numbers; // D, the fourth column
        std::vector<std::string> lines = mdbExport(path, "Table1");
        for (size_t i = 1; i < lines.size(); ++i) {
            std::istringstream cells(lines[i]);
            std::string cell;
            for (int c = 0; c < 4; ++c)
                std::getline(cells, cell, ',');
            numbers.insert(std::stoi(cell));
        }
        EXPECT_EQ(numbers.size(), 300u);
        EXPECT_EQ(*numbers.begin(), 1);
        EXPECT_EQ(*numbers.rbegin(), 300);
    }
}

namespace {

// What the engine's independent check of indexes finds wrong with the table's indexes.
std::vector<std::string> indexProblems(const std::string& path, const std::string& table) {
    namespace dao = mdbengine;
    dao::Errors errors;
    std::shared_ptr<dao::DatabaseFile> file;
    if (dao::failed(dao::DatabaseFile::open(path, {false, true, ""}, errors, file)))
        return {"cannot open " + path};
    for (const auto& entry : file->catalog().tables())
        if (entry.name == table)
            return dao::file::checkIndexes(file->pages(), *file->tableDefinition(entry.tablePage()))
                .problems;
    return {"no table " + table};
}

// A table whose sort field has a unique index, and the fields the list's roles take.
struct UniqueSortTable {
    const char* file;
    const char* table;
    int sort, zip;
    bool text;     // a Text sort field, else a Long Integer one
    bool required; // it takes no Null (a primary key)
};

mdbengine::Variant sortValue(const UniqueSortTable& t, int n) {
    namespace dao = mdbengine;
    return t.text ? dao::Variant::text(zeroPad(n, 6)) : dao::Variant::longInteger(n);
}

// The list changed since its last sort: its third record taken out and one added, whose
// sort field holds nothing, or a number after the others where it must hold one.
void changeList(const std::string& path, const UniqueSortTable& t, int records) {
    namespace dao = mdbengine;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> database;
    ASSERT_EQ(engine.openDatabase(path, false, false, {}, database), dao::statusOk);
    std::shared_ptr<dao::Recordset> recordset;
    ASSERT_EQ(database->openRecordset(t.table, -1, recordset), dao::statusOk);
    recordset->moveFirst();
    recordset->moveNext();
    recordset->moveNext();
    ASSERT_EQ(recordset->deleteRecord(), dao::statusOk);
    ASSERT_EQ(recordset->addNew(), dao::statusOk);
    recordset->setColumnValue(static_cast<size_t>(t.zip), dao::Variant::text("75202"));
    if (t.required)
        recordset->setColumnValue(static_cast<size_t>(t.sort), sortValue(t, records + 1));
    ASSERT_EQ(recordset->update(), dao::statusOk);
    ASSERT_EQ(database->close(), dao::statusOk);
}

// The sort numbers mdb-export reads, by the ZIP of their record.
std::vector<std::pair<int, std::string>> exportedNumbers(const std::string& path,
                                                         const UniqueSortTable& t) {
    std::vector<std::pair<int, std::string>> numbers;
    std::vector<std::string> lines = mdbExport(path, t.table);
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> cells = csvCells(lines[i]);
        numbers.emplace_back(cells.at(static_cast<size_t>(t.sort)).empty()
                                 ? 0
                                 : std::stoi(cells.at(static_cast<size_t>(t.sort))),
                             cells.at(static_cast<size_t>(t.zip)));
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

// Stand-ins are distinct and none is a value the field holds or will hold: below zero
// first, then down from the largest; texts compared without regard to ASCII case. A field
// with too little room has none.
TEST(AccessWriter, StandInsAvoidEveryValueTheFieldHoldsOrWillHold) {
    ClearedField byte;
    byte.largest = 255;
    StandInValues bytes(byte);
    for (int n = 1; n <= 250; ++n)
        bytes.taken(zeroPad(n, 6));
    bytes.taken("0");
    EXPECT_EQ(bytes.make(4), (std::vector<std::string>{"255", "254", "253", "252"}));
    EXPECT_EQ(bytes.make(6), std::nullopt) << "only 251 to 255 are free";

    ClearedField integer;
    integer.smallest = -32768;
    integer.largest = 32767;
    StandInValues integers(integer);
    integers.taken("-2");
    integers.taken("-3.5");
    EXPECT_EQ(integers.make(3), (std::vector<std::string>{"-1", "-3", "-4"}));

    ClearedField text;
    text.text = true;
    text.width = 6;
    StandInValues texts(text);
    texts.taken("q00000");
    texts.taken("Q00002");
    EXPECT_EQ(texts.make(2), (std::vector<std::string>{"Q00001", "Q00003"}));
}

// The sort field has a unique index and its records hold the numbers of the last sort: a
// sort gives them a new order of those numbers, which would meet, record by record, numbers
// later records still hold. A field that takes Null is cleared first, one that does not (a
// primary key, Text or Long Integer) holds stand-ins; every index holds afterwards, sort
// after sort, in Jet 3 and Jet 4 files.
TEST(AccessWriter, AResortThroughAUniqueSortFieldTakesTheNumbersItGaveBefore) {
    REQUIRE_MDB_CORPUS();
    const int records = 12;
    const std::vector<UniqueSortTable> tables = {
        {"jackcess/test2V2000.mdb", "MSP_PROJECTS", 0, 9, false, false},
        {"jackcess/testV2000.mdb", "Table1", 0, 1, true, true},
        {"jackcess/testV1997.mdb", "Table1", 0, 1, true, true},
        {"jackcess/indexTestV2000.mdb", "Table1", 0, 3, false, true}};
    for (const UniqueSortTable& t : tables) {
        WriterFixture f;
        // The records numbered as a sort in list order would leave them.
        std::string path = corpusList(
            f.env.folder(), t.file, t.table, records, [&t](int r, mdbengine::Recordset& record) {
                record.setColumnValue(static_cast<size_t>(t.sort), sortValue(t, r));
                record.setColumnValue(static_cast<size_t>(t.zip),
                                      mdbengine::Variant::text(zipOf(r)));
            });
        for (int round = 1; round <= 2; ++round) {
            if (round == 2)
                changeList(path, t, records);
            WriterFixture sort;
            sort.ui().whenShown("TableDlog", [&t](Form& form) {
                const auto names = form.control("TablesGrid").items();
                auto at = std::find(names.begin(), names.end(), t.table);
                form.control("TablesGrid").userSetItemIndex(static_cast<int>(at - names.begin()));
                form.control("TablesGrid").userDoubleClick();
            });
            ASSERT_EQ(openWithRoles(sort, path, {{"zip", t.zip}, {"sort", t.sort}}), path)
                << t.file;
            presortByZip(sort.reading.mailing);
            sort.mailClass = *MailClass::fromCode("RNAF");
            sort.ui().clearRecords();
            ASSERT_FALSE(test::writeSortInformation(sort).failed)
                << t.file << " round " << round << ": " << sort.messageTexts().at(0);
            EXPECT_EQ(indexProblems(path, t.table), std::vector<std::string>{}) << t.file;
            auto numbers = exportedNumbers(path, t);
            ASSERT_EQ(numbers.size(), static_cast<size_t>(records)) << t.file;
            for (int n = 1; n <= records; ++n)
                EXPECT_EQ(numbers[static_cast<size_t>(n - 1)].first, n) << t.file << " " << n;
            // Two rejected ZIPs (records 5 and 10) take the last numbers.
            EXPECT_EQ(numbers[records - 2].second + numbers[records - 1].second, "BADBAD")
                << t.file << " round " << round;
        }
    }
}

// Tray numbers repeat (two pieces share a tray): a unique index over the tray field refuses
// them, whatever the clearing before, by its name, and the database stays as it was.
TEST(AccessWriter, RepeatedNumbersInAUniqueFieldAreRefusedByTheIndexName) {
    REQUIRE_MDB_CORPUS();
    WriterFixture f;
    // PROJ_ID (0) and PROJ_NAME (1) are uniquely indexed.
    std::string path = projectsList(f.env.folder());
    ASSERT_EQ(openWithRoles(f, path, {{"zip", 9}, {"sort", 0}, {"tray", 1}}), path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    const std::string hash = sha256Of(path);
    f.ui().clearRecords();
    EXPECT_TRUE(test::writeSortInformation(f).failed);
    expectNotSavedOnly(f, "Quillan could not save the sorting information in the file "
                          "\"test2V2000.mdb\". Your list has not been changed. The change would "
                          "give the index 'I_PROJ_NAME' a value it holds already");
    EXPECT_EQ(sha256Of(path), hash);
    EXPECT_EQ(folderEntries(f.env.folder()), 2u) << "no copy left";
}

// A Decimal field (12 digits, 3 after the point) takes the sequence numbers as Decimals,
// which mdb-export reads back with their places; it holds whole numbers of 9 digits. (The
// table's other fields are a Memo and an Integer, neither of which gives a ZIP: the records
// are numbered in their order.)
TEST(AccessWriter, ADecimalFieldTakesTheSortNumbers) {
    REQUIRE_MDB_CORPUS();
    WriterFixture f;
    // id (0) Integer, descr (1) Memo, num (2) Decimal(12, 3).
    std::string path = corpusList(
        f.env.folder(), "ucanaccess/functionsV2000.mdb", "t_funcs", 12,
        [](int r, mdbengine::Recordset& record) {
            record.setColumnValue(0, mdbengine::Variant::integer(static_cast<std::int16_t>(r)));
        });
    ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}, {"sort", 2}}), path);
    EXPECT_EQ(f.reading.list.state.accessFields.at(2).largestNumber, 999999999);
    f.mailClass = *MailClass::fromCode("RNAF");
    f.ui().clearRecords();
    ASSERT_FALSE(test::writeSortInformation(f).failed) << f.messageTexts().at(0);
    std::vector<std::string> lines = mdbExport(path, "t_funcs");
    ASSERT_EQ(lines.size(), 13u);
    for (size_t i = 1; i < lines.size(); ++i) {
        std::istringstream cells(lines[i]);
        std::string id, memo, number;
        std::getline(cells, id, ',');
        std::getline(cells, memo, ',');
        std::getline(cells, number, ',');
        EXPECT_EQ(number, id + ".000");
    }
}

// Sort numbers in a field that an enforced relationship ties to another table would refer to
// no record there, or leave records there referring to none: the field is refused by the
// relationship's name before the list is read. A field no relationship ties takes them.
TEST(AccessWriter, AFieldAnEnforcedRelationshipTiesIsRefusedByItsName) {
    REQUIRE_MDB_CORPUS();
    WriterFixture f;
    // Table1: id (0), otherfk1 (1, refers to Table2.id), otherfk2 (2, to Table3.id), data
    // (3, Text), otherfk3 (4, tied to nothing).
    std::string path = corpusList(f.env.folder(), "jackcess/indexTestV2000.mdb", "Table1", 12,
                                  [](int r, mdbengine::Recordset& record) {
                                      namespace dao = mdbengine;
                                      record.setColumnValue(0, dao::Variant::longInteger(r));
                                      record.setColumnValue(3, dao::Variant::text(zipOf(r)));
                                  });
    f.ui().whenShown("TableDlog", [](Form& form) { form.control("TablesGrid").userDoubleClick(); });
    ASSERT_EQ(openWithRoles(f, path, {{"zip", 3}, {"sort", 4}}), path);
    ListState state = f.reading.list.state;
    for (auto [column, relationship] :
         {std::pair{1, "\"Table2Table1\" between the tables \"Table2\" and \"Table1\""},
          std::pair{2, "\"Table3Table1\" between the tables \"Table3\" and \"Table1\""}}) {
        for (int FieldRoles::*role : {&FieldRoles::sortColumn, &FieldRoles::trayColumn}) {
            ListState tied = state;
            tied.*role = column;
            std::vector<std::string> problems =
                checkFieldRoles(tied, f.ctx().lists, *formatNamed("Access"));
            ASSERT_EQ(problems.size(), 1u);
            EXPECT_NE(problems[0].find("relationship " + std::string(relationship)),
                      std::string::npos)
                << problems[0];
        }
    }
    EXPECT_EQ(checkFieldRoles(state, f.ctx().lists, *formatNamed("Access")),
              std::vector<std::string>{});
    f.mailClass = *MailClass::fromCode("RNAF");
    f.ui().clearRecords();
    ASSERT_FALSE(test::writeSortInformation(f).failed) << f.messageTexts().at(0);
    std::set<std::string> numbers;
    for (const auto& [name, cells] : rowsByName(path))
        numbers.insert(cells.at(4));
    EXPECT_EQ(numbers.size(), 12u);
}
