// The Access components as the program uses them: the default session's table names and
// the table component over .mdb files, checked against what mdbtools reads from the same
// files.

#include "tests/accessdb/AccessTestSupport.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaDatabase.h"
#include "accessdb/access/TtaSession.h"
#include "accessdb/access/TtaSessionList.h"
#include "accessdb/access/TtaTable.h"
#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/TttBlobStream.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

struct AccessComponentsTest : ::testing::Test {
    std::unique_ptr<TComponent> form = std::make_unique<TComponent>(nullptr);
    TtaTable* table = new TtaTable(form.get());

    void SetUp() override { REQUIRE_MDB_CORPUS(); }
    void TearDown() override {
        form.reset();
        AccessSession().setActive(false);
    }

    void open(const std::string& file, const std::string& name) {
        table->setDatabaseName(file);
        table->setTableName(name);
        table->setActive(true);
    }

    std::vector<std::string> tableNames(const std::string& file) {
        TStringList names;
        AccessSession().getTableNames(file, "", names, false, true);
        return names.lines();
    }
};

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

Status errorCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ETDBEngineError& error) {
        return error.errorCode();
    }
    return 0;
}

} // namespace

TEST_F(AccessComponentsTest, TableNamesAreTheUserTablesInNameOrder) {
    for (const char* file : {"jackcess/testV2000.mdb", "jackcess/testIndexCodesV1997.mdb"}) {
        std::vector<std::string> expected =
            lines(runCommand("mdb-tables -1 '" + corpusFile(file) + "'"));
        std::stable_sort(
            expected.begin(), expected.end(),
            [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
        EXPECT_EQ(tableNames(corpusFile(file)), expected) << file;
    }
    try {
        tableNames(corpusFile("jackcess/missing.mdb"));
        FAIL() << "a missing file lists no tables";
    } catch (const ETDBEngineError& error) {
        EXPECT_NE(std::string(error.what()).find("Access Status 3024 - "), std::string::npos)
            << error.what();
    }
}

TEST_F(AccessComponentsTest, TableStandsOnItsFirstRowWithFieldsTypedByTheirDaoType) {
    std::string file = corpusFile("jackcess/testV2000.mdb");
    open(file, "Table1");
    std::vector<std::string> rows = exported(file, "Table1");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_FALSE(table->eof());
    std::vector<std::string> names;
    std::vector<int> types;
    for (int i = 0; i < table->fieldCount(); ++i) {
        names.push_back(table->fields(i).fieldName());
        types.push_back(static_cast<int>(table->fields(i).dataType()));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    // Text, Text, Byte, Integer, Long, Double, Date, Currency, Boolean.
    EXPECT_EQ(types, (std::vector<int>{1, 1, 2, 2, 3, 6, 11, 6, 5}));
    // The table opens on its primary index (A): "a","b",0,0,0,0,1981-12-12,0,0 comes first.
    EXPECT_EQ(table->fieldByName("A").asString(), "a");
    EXPECT_EQ(table->fieldByName("B").asString(), "b");
    EXPECT_EQ(table->fields(6).asString(), "12/12/1981");
    EXPECT_FALSE(table->fields(8).asBoolean());
    table->next();
    // "abcdefg","hijklmnop",2,222,333333333,444.555,1974-09-21,3.5,1
    EXPECT_EQ(table->fieldByName("A").asString(), "abcdefg");
    EXPECT_EQ(table->fieldByName("B").asString(), "hijklmnop");
    EXPECT_EQ(table->fields(2).asInteger(), 2);
    EXPECT_EQ(table->fields(3).asInteger(), 222);
    EXPECT_EQ(table->fields(4).asInteger(), 333333333);
    EXPECT_DOUBLE_EQ(table->fields(5).asFloat(), 444.555);
    EXPECT_EQ(table->fields(6).asString(), "9/21/1974");
    EXPECT_DOUBLE_EQ(table->fields(7).asFloat(), 3.5);
    EXPECT_TRUE(table->fields(8).asBoolean());
    EXPECT_EQ(table->fields(4).asString(), "333333333");

    table->first();
    EXPECT_EQ(table->fieldByName("A").asString(), "a");
    table->last();
    EXPECT_EQ(table->fieldByName("A").asString(), "abcdefg");
    EXPECT_EQ(table->recordCount(), exportedCount(file, "Table1"));
    table->prior();
    EXPECT_EQ(table->fieldByName("A").asString(), "a");
    table->next();
    table->next();
    EXPECT_TRUE(table->eof());

    table->setActive(false);
    open(file, "Table2");
    EXPECT_TRUE(table->eof()) << "an empty table opens at its end";
    EXPECT_EQ(table->recordCount(), 0);
    table->first();
    EXPECT_TRUE(table->eof());
}

TEST_F(AccessComponentsTest, MemoAndOleFieldsAreBlobs) {
    open(corpusFile("jackcess/fixedNumericTestV2000.mdb"), "test");
    EXPECT_EQ(table->fields(0).dataType(), TFieldType::Memo);
    EXPECT_EQ(table->fields(0).asString(), "some data");
    auto stream = table->createBlobStream(table->fields(0), BlobStreamMode::Read);
    char text[32] = {};
    EXPECT_EQ(stream->size(), 9u);
    EXPECT_EQ(stream->read(text, sizeof text), 9u);
    EXPECT_STREQ(text, "some data");
    stream.reset();
    EXPECT_THROW(table->createBlobStream(table->fields(0), BlobStreamMode::Write), EDatabaseError)
        << "writing needs edit mode";
    table->setActive(false);

    // A memo set as a field's text, as the list writer sets the endorsement line.
    ScratchFolder scratch;
    std::string copy = scratch.copy("jackcess/fixedNumericTestV2000.mdb");
    open(copy, "test");
    table->edit();
    table->fields(0).setAsString(
        "a note of more than sixty-four characters, kept on a page of its own");
    table->post();
    table->setActive(false);
    open(copy, "test");
    EXPECT_EQ(table->fields(0).asString(),
              "a note of more than sixty-four characters, kept on a page of its own");
    table->edit();
    table->fields(0).setAsString("");
    table->post();
    EXPECT_TRUE(table->fields(0).isNull()) << "an empty memo is no value";
    table->setActive(false);

    open(corpusFile("jackcess/test2V2000.mdb"), "MSP_PROJECTS");
    EXPECT_EQ(table->fieldByName("PROJ_PROP_AUTHOR").dataType(), TFieldType::Memo);
    EXPECT_EQ(table->fieldByName("RESERVED_BINARY_DATA").dataType(), TFieldType::Blob);
    EXPECT_THROW(table->createBlobStream(table->fieldByName("PROJ_NAME"), BlobStreamMode::Read),
                 EInvalidCast);
}

TEST_F(AccessComponentsTest, ASortPassWritesItsNumbersInWalkOrder) {
    ScratchFolder scratch;
    std::string list = scratch.file("list.txt");
    {
        std::ofstream out(list);
        for (int i = 0; i < 300; ++i)
            out << "NAME " << i << "\t" << i << " MAIN ST\tDALLAS\tTX\t75" << (200 + i % 99)
                << "\tDALLAS\r\n";
    }
    std::string file = scratch.file("list.mdb");
    runCommand(std::string(QUILLAN_MDBFILL) + " '" + list + "' '" + file + "'");
    ASSERT_EQ(exportedCount(file, "Table1"), 307);

    // The pass, remembering each record as mdb-export writes it, without the written column.
    open(file, "Table1");
    table->first();
    std::vector<std::string> walked{""};
    while (!table->eof()) {
        std::string line;
        for (int i = 0; i < table->fieldCount(); ++i) {
            TField& field = table->fields(i);
            std::string value = field.isNull() ? "" : "\"" + field.asString() + "\"";
            line += (i ? "," : "") + (field.fieldName() == "data8" ? "#" : value);
        }
        walked.push_back(line);
        char text[8];
        std::snprintf(text, sizeof text, "%06zu", walked.size() - 1);
        table->edit();
        table->fieldByName("data8").setAsString(text);
        table->next();
    }
    table->setActive(false);
    ASSERT_EQ(walked.size(), 308u);

    // Rows that grow may move to other pages, and mdb-export lists them where they are: each
    // row is checked against the record that got its number.
    std::vector<std::string> after = exported(file, "Table1");
    ASSERT_EQ(after.size(), walked.size());
    std::vector<bool> seen(walked.size(), false);
    for (std::size_t row = 1; row < after.size(); ++row) {
        std::size_t start = 0;
        for (int c = 0; c < 6; ++c)
            start = after[row].find(',', start) + 1;
        std::size_t end = after[row].find(',', start);
        std::size_t number = std::stoul(after[row].substr(start + 1, end - start - 2));
        ASSERT_LT(number, walked.size()) << after[row];
        EXPECT_EQ(after[row].substr(0, start) + "#" + after[row].substr(end), walked[number]);
        EXPECT_FALSE(seen[number]);
        seen[number] = true;
    }

    // The session kept the database open: a second pass writes over our own first one.
    open(file, "Table1");
    table->edit();
    table->fieldByName("data9").setAsString("again");
    table->post();
    EXPECT_NO_THROW(table->setActive(false));
    EXPECT_NE(exported(file, "Table1")[1].find("\"again\""), std::string::npos);
}

TEST_F(AccessComponentsTest, OpenFailuresSayWhatIsWrong) {
    table->setDatabaseName(corpusFile("jackcess/testV2000.mdb"));
    try {
        table->setActive(true);
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Missing TableName property");
    }
    table->setTableName("NoSuchTable");
    EXPECT_EQ(errorCodeOf([&] { table->setActive(true); }), dbierr::NOSUCHTABLE);
    EXPECT_FALSE(table->active());

    table->setDatabaseName(corpusFile("mdb-reader/V2000_with-password.mdb"));
    table->setTableName("Table1");
    EXPECT_EQ(errorCodeOf([&] { table->setActive(true); }), dbierr::INVALIDPASSWORD);

    // A database component on the form gives the password.
    auto* database = new TtaDatabase(form.get());
    EXPECT_FALSE(database->loginPrompt());
    database->setDatabaseName(corpusFile("mdb-reader/V2000_with-password.mdb"));
    database->params().add("PASSWORD=password");
    table->setActive(true);
    EXPECT_EQ(table->recordCount(),
              exportedCount(corpusFile("mdb-reader/V2000_with-password.mdb"), "Table1"));
}

TEST_F(AccessComponentsTest, AReadOnlyFileOpensReadOnly) {
    ScratchFolder scratch;
    std::string file = scratch.copy("jackcess/testV2000.mdb");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    open(file, "Table1");
    EXPECT_EQ(table->fieldByName("A").asString(), "a");
    EXPECT_THROW(
        {
            table->edit();
            table->fieldByName("D").setAsString("7");
            table->post();
        },
        EDatabaseError);
    table->cancel();
    table->setActive(false);
    EXPECT_EQ(exported(file, "Table1"), exported(corpusFile("jackcess/testV2000.mdb"), "Table1"));
}

// The primary key, A, holds "a" and "abcdefg": a record takes a new key, not the other's.
TEST_F(AccessComponentsTest, IndexedColumnsAreSetAndTheirIndexesKept) {
    ScratchFolder scratch;
    std::string file = scratch.copy("jackcess/testV2000.mdb");
    open(file, "Table1");
    std::string key = table->fieldByName("A").asString();
    table->edit();
    table->fieldByName("A").setAsString(key == "a" ? "abcdefg" : "a");
    EXPECT_THROW(table->post(), EDatabaseError);
    table->cancel();
    table->edit();
    table->fieldByName("A").setAsString("x");
    table->fieldByName("D").setAsString("-5");
    table->post();
    table->setActive(false);
    std::vector<std::string> rows = exported(file, "Table1");
    std::vector<std::string> original = exported(corpusFile("jackcess/testV2000.mdb"), "Table1");
    ASSERT_EQ(rows.size(), original.size());
    std::string changed = original[key == "a" ? 2 : 1];
    changed = "\"x\"" + changed.substr(changed.find(','));
    std::size_t d = 0;
    for (int comma = 0; comma < 3; ++comma)
        d = changed.find(',', d) + 1;
    changed = changed.substr(0, d) + "-5" + changed.substr(changed.find(',', d));
    EXPECT_NE(std::find(rows.begin(), rows.end(), changed), rows.end()) << changed;
}

// The components speak Windows-1252, the engine Unicode: a Jet4 text reads as the bytes it
// always did ("?" for a character the code page lacks), and what the components write is
// stored as the characters those bytes are, the other texts of the record untouched.
TEST_F(AccessComponentsTest, TextCrossesInWindows1252AndIsStoredWhole) {
    ScratchFolder scratch;
    std::string file = scratch.copy("jackcess/testUnicodeCompV2003.mdb");
    open(file, "Table");
    std::map<std::string, std::string> texts;
    for (table->first(); !table->eof(); table->next())
        texts[table->fields(0).asString()] = table->fields(1).asString();
    EXPECT_EQ(texts["2"], "\xE4\xE4kk\xF6si\xE4");
    EXPECT_EQ(texts["3"], "???");
    EXPECT_EQ(texts["7"], "\xFCmlaut");
    table->first();
    while (table->fields(0).asString() != "7")
        table->next();
    table->edit();
    table->fields(1).setAsString("Zo\xEB \x80 5");
    table->post();
    table->setActive(false);
    std::vector<std::string> rows = exported(file, "Table");
    EXPECT_NE(std::find(rows.begin(), rows.end(), "7,\"Zo\u00eb \u20ac 5\""), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), "3,\"\u041c\u0438\u0440\""), rows.end());
}

// A table whose name the native character set cannot show is listed with "?" for those
// characters, and opens by the name it is listed under.
TEST_F(AccessComponentsTest, ATableNamedOutsideTheCodePageOpensByItsListedName) {
    ScratchFolder scratch;
    std::string file = scratch.copy("jackcess/testV2000.mdb");
    {
        // Table1's row of the catalogue: its name, six UTF-16 units, renamed in place.
        std::fstream patch(file, std::ios::binary | std::ios::in | std::ios::out);
        std::string bytes((std::istreambuf_iterator<char>(patch)), {});
        const std::string table1("T\0a\0b\0l\0e\0"
                                 "1\0",
                                 12);
        const std::string cyrillic("\x22\x04\x30\x04\x31\x04\x3B\x04\x38\x04\x46\x04", 12);
        std::size_t at = bytes.find(table1);
        ASSERT_EQ(at / 4096, 14u) << "the first is in the catalogue's page";
        patch.seekp(static_cast<std::streamoff>(at));
        patch.write(cyrillic.data(), static_cast<std::streamsize>(cyrillic.size()));
    }
    std::vector<std::string> names = tableNames(file);
    EXPECT_NE(std::find(names.begin(), names.end(), "??????"), names.end());
    open(file, "??????");
    EXPECT_EQ(table->fieldByName("A").asString(), "a");
}

TEST_F(AccessComponentsTest, DefaultSessionAndEngineAreSharedByAllComponents) {
    EXPECT_EQ(AccessSession().sessionName(), "Access");
    EXPECT_EQ(AccessSessionList().defaultSession(), &AccessSession());
    EXPECT_EQ(AccessSessionList().findSession(""), &AccessSession());
    EXPECT_EQ(AccessEngineObject(), nullptr);
    EXPECT_EQ(table->engine(), nullptr);
    AccessSession().setActive(true);
    ASSERT_NE(AccessEngineObject(), nullptr);
    EXPECT_EQ(table->engine(), AccessEngineObject());
    EXPECT_EQ(AccessSession().engine(), AccessEngineObject());
    AccessSession().setActive(false);
    EXPECT_EQ(AccessEngineObject(), nullptr);
    EXPECT_EQ(TAccessSession::sharedEngine(), nullptr)
        << "the DAO engine goes with the last session";
}

TEST_F(AccessComponentsTest, AWriteThatFailsAtCloseIsReported) {
    ScratchFolder scratch;
    std::string file = scratch.copy("jackcess/delTestV2000.mdb");
    open(file, "Table");
    table->edit();
    table->fields(1).setAsString("changed");
    table->post();
    // Someone else writes the file before our changes go out: ours must not replace it.
    std::string theirs = scratch.copy("jackcess/delTestV2000.mdb");
    fs::rename(theirs, file);
    std::vector<std::string> before = exported(file, "Table");
    try {
        table->setActive(false);
        FAIL() << "the close wrote nothing and must say so";
    } catch (const ETDBEngineError& error) {
        EXPECT_NE(std::string(error.what()).find("Access Status 3197 - "), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(table->active());
    EXPECT_EQ(exported(file, "Table"), before);

    // The next open reads the file as it now is, and writes over it.
    open(file, "Table");
    table->edit();
    table->fields(1).setAsString("again");
    table->post();
    EXPECT_NO_THROW(table->setActive(false));
    EXPECT_NE(exported(file, "Table")[1].find("\"again\""), std::string::npos);
}

TEST_F(AccessComponentsTest, IndexesAreChosenByNameOrByFields) {
    std::string file = corpusFile("jackcess/testIndexCodesV1997.mdb");
    table->setIndexFieldNames("data1");
    EXPECT_EQ(table->indexName(), "");
    EXPECT_EQ(table->indexFieldNames(), "data1");
    open(file, "Table12_asc_desc");
    std::vector<std::string> names;
    for (table->first(); !table->eof(); table->next())
        names.push_back(table->fieldByName("name").asString());
    EXPECT_EQ(names, (std::vector<std::string>{"row1", "row8", "row3", "row5", "row7", "row6",
                                               "row2", "row4", "row9", "row0"}));
    ASSERT_EQ(table->indexDefs().count(), 2);
    const TIndexDef* data = table->indexDefs().find("DataIndex");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->fields, "data1;data2");
    EXPECT_EQ(data->descFields, "data2");
    EXPECT_TRUE(table->indexDefs().find("PrimaryKey")->primary);

    // Switching while open keeps the current record.
    table->first();
    table->next();
    table->setIndexName("PrimaryKey");
    EXPECT_EQ(table->indexFieldNames(), "");
    EXPECT_EQ(table->fieldByName("name").asString(), "row8");
    table->next();
    EXPECT_EQ(table->fieldByName("name").asString(), "row9");

    EXPECT_TRUE(table->locate("data1", {Variant(std::string("more"))}));
    EXPECT_EQ(table->fieldByName("name").asString(), "row2");
    EXPECT_FALSE(table->locate("data1", {Variant(std::string("none"))}));
    EXPECT_THROW(table->setIndexFieldNames("name;data2"), EDatabaseError);
}

TEST_F(AccessComponentsTest, ADetailFollowsItsMaster) {
    std::string file = corpusFile("jackcess/indexTestV2000.mdb");
    auto* itself = new TDataSource(form.get());
    itself->setDataSet(table);
    try {
        table->setMasterSource(itself);
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Circular datalinks are not allowed");
    }
    auto* master = new TtaTable(form.get());
    master->setDatabaseName(file);
    master->setTableName("Table2");
    master->setActive(true);
    auto* source = new TDataSource(form.get());
    source->setDataSet(master);
    table->setIndexName("Table2Table1");
    table->setMasterSource(source);
    table->setMasterFields("id");
    open(file, "Table1");
    auto detailIds = [&] {
        std::vector<std::int64_t> ids;
        for (table->first(); !table->eof(); table->next())
            ids.push_back(table->fieldByName("id").asInteger());
        return ids;
    };
    // Table1's otherfk1 points at Table2's id: 0, 1, 1, 2.
    EXPECT_EQ(detailIds(), (std::vector<std::int64_t>{0}));
    master->next();
    EXPECT_EQ(detailIds(), (std::vector<std::int64_t>{1, 2}));
    master->next();
    EXPECT_EQ(detailIds(), (std::vector<std::int64_t>{3}));
    std::vector<TField*> masterFields, detailFields;
    table->getDetailLinkFields(masterFields, detailFields);
    ASSERT_EQ(masterFields.size(), 1u);
    EXPECT_EQ(masterFields[0]->fieldName(), "id");
    ASSERT_EQ(detailFields.size(), 1u);
    EXPECT_EQ(detailFields[0]->fieldName(), "otherfk1");
    master->setActive(false);
    EXPECT_EQ(detailIds().size(), 4u) << "without its master the detail shows every record";
}

// The table component's source may be a SELECT, a stored select query or a linked table.
TEST_F(AccessComponentsTest, TheTableComponentReadsQueriesAndLinkedTables) {
    open(corpusFile("jackcess/testV2000.mdb"),
         "SELECT A AS Letter, E FROM Table1 WHERE E >= 0 ORDER BY E DESC");
    ASSERT_EQ(table->fieldCount(), 2);
    EXPECT_EQ(table->fields(0).fieldName(), "Letter");
    std::vector<std::string> seen;
    for (table->first(); !table->eof(); table->next())
        seen.push_back(table->fields(0).asString() + " " + table->fields(1).asString());
    EXPECT_EQ(seen, (std::vector<std::string>{"abcdefg 333333333", "a 0"}));
    table->setActive(false);

    open(corpusFile("ucanaccess/accessLike.mdb"), "q_like2");
    EXPECT_EQ(table->fieldByName("Campo2").asString(), "dd1");
    table->next();
    EXPECT_TRUE(table->eof());
    table->setActive(false);

    open(corpusFile("ucanaccess/linked.mdb"), "Table1");
    EXPECT_EQ(table->fieldByName("field1").asString(), "ciao bello");
    table->setActive(false);
    open(corpusFile("ucanaccess/linked.mdb"), "table2");
    EXPECT_EQ(table->fieldByName("filed2").asString(), "ciao brutto");
}
