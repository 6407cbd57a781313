// Every table of the public .mdb corpus read through the object model and compared with
// what mdbtools (mdb-tables, mdb-export, mdb-count, mdb-schema) reads from the same file;
// and every stored row of every table, system tables included, cracked and packed again.

#include "tests/mdbengine/DaoTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/ExportText.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/TableDef.h"
#include "mdbengine/tables/RowCodec.h"
#include "mdbengine/tables/TableRows.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>

using namespace daotest;
using quillan::test::runCommand;

namespace {

// "Text (50)" and the like, as mdb-schema names a column's type.
std::string schemaType(const Field& field) {
    switch (field.type()) {
    case Field::typeBoolean:
        return "Boolean";
    case Field::typeByte:
        return "Byte";
    case Field::typeInteger:
        return "Integer";
    case Field::typeLong:
        return "Long Integer";
    case Field::typeCurrency:
        return "Currency";
    case Field::typeSingle:
        return "Single";
    case Field::typeDouble:
        return "Double";
    case Field::typeDate:
        return "DateTime";
    case Field::typeText:
        return "Text (" + std::to_string(field.size()) + ")";
    case Field::typeLongBinary:
        return "OLE";
    case Field::typeMemo:
        return "Memo/Hyperlink";
    case Field::typeGuid:
        return "Replication ID";
    case Field::typeDecimal:
        return "Numeric";
    default:
        return "?";
    }
}

std::vector<std::string> ourSchema(Recordset& recordset) {
    std::shared_ptr<Collection<Field>> fields;
    EXPECT_EQ(recordset.fields(fields), statusOk);
    std::vector<std::string> columns;
    for (std::size_t i = 0; i < fields->count(); ++i) {
        std::shared_ptr<Field> field;
        fields->item(i, field);
        columns.push_back(field->name() + " " + schemaType(*field));
    }
    return columns;
}

std::vector<std::string> referenceSchema(const std::string& path, const std::string& table) {
    static const std::regex line(R"(^\s*\[(.*)\]\s+(.*?)( NOT NULL)?,?\s*$)");
    static const std::regex sized(R"(^(OLE|Memo/Hyperlink|Numeric) \(.*\)$)");
    std::string schema = runCommand("mdb-schema -T " + shellQuoted(table) + " " +
                                    shellQuoted(path) + " 2>/dev/null");
    std::vector<std::string> columns;
    for (const std::string& text : lines(schema)) {
        std::smatch match;
        if (!std::regex_match(text, match, line))
            continue;
        std::string type = std::regex_replace(match[2].str(), sized, "$1");
        columns.push_back(match[1].str() + " " + type);
    }
    return columns;
}

// What the dump tool prints of a table (UTF-8), as mdb-export would print it: for Jet3 the
// bytes Windows-1252 leaves unassigned show as "?" there.
std::string dumped(const std::string& path, const std::string& table, bool jet4,
                   const std::string& password = {}) {
    std::string text =
        runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbdump " + shellQuoted(path) + " " +
                   shellQuoted(table) + (password.empty() ? "" : " --password=" + password));
    return jet4 ? text : asMdbExportShowsJet3(text);
}

class CorpusFileTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }
};

TEST_P(CorpusFileTest, ReadsEveryUserTableAsMdbtoolsDoes) {
    std::string path = corpusFile(GetParam());
    DBEngine engine;
    auto database = open(engine, path, connectFor(GetParam()), false, true);
    ASSERT_TRUE(database);
    std::vector<std::string> referenceTables =
        lines(runCommand("mdb-tables -1 " + shellQuoted(path)));
    EXPECT_EQ(sorted(userTables(*database)), sorted(referenceTables));

    for (const std::string& table : referenceTables) {
        SCOPED_TRACE(table);
        std::string ours;
        ASSERT_EQ(exportTable(*database, table, ours), statusOk) << errorText(engine);
        auto recordset = openTable(*database, table);
        ASSERT_TRUE(recordset);
        if (!recordset->jet4())
            ours = asMdbExportShowsJet3(ours);
        std::vector<std::string> reference = sorted(lines(mdbExport(path, table)));
        EXPECT_EQ(sorted(lines(ours)), reference);
        EXPECT_EQ(sorted(lines(dumped(path, table, recordset->jet4(), passwordFor(GetParam())))),
                  reference)
            << "the dump tool";

        std::int32_t count = -1;
        recordset->recordCount(count);
        EXPECT_EQ(std::to_string(count) + "\n",
                  runCommand("mdb-count " + shellQuoted(path) + " " + shellQuoted(table)));
        std::vector<std::string> schema = referenceSchema(path, table);
        EXPECT_FALSE(schema.empty());
        EXPECT_EQ(ourSchema(*recordset), schema);
    }
}

// The writer rewrites rows through the same codec, so every row that Access or another
// engine stored must come back byte for byte: Jet3 jump tables, Jet4 offsets, deleted
// columns, null masks and the odd padding.
TEST_P(CorpusFileTest, EveryStoredRowPacksBackToItsBytes) {
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    ASSERT_EQ(DatabaseFile::open(corpusFile(GetParam()), {false, true, "password"}, errors, file),
              statusOk);
    file::PageStore& pages = file->pages();
    std::size_t rows = 0;
    for (const file::CatalogEntry& entry : file->catalog().tables()) {
        if (entry.isLinked())
            continue;
        auto table = file->tableDefinition(entry.tablePage());
        for (std::uint32_t rowId : file::liveRows(pages, *table)) {
            auto stored = file::findRow(pages, table->page, rowId);
            auto parts = file::crackRow(stored.bytes, pages.format(), table->varColumnCount > 0);
            auto packed = file::packRow(parts, pages.format());
            ASSERT_TRUE(
                std::equal(packed.begin(), packed.end(), stored.bytes.begin(), stored.bytes.end()))
                << entry.name << " row " << std::hex << rowId;
            ++rows;
        }
    }
    EXPECT_GT(rows, 0u);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusFileTest, ::testing::ValuesIn(corpusFiles()),
                         [](const auto& info) { return testNameOf(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusFileTest);

} // namespace

namespace {

TEST(DumpToolTest, ListsTablesDumpsOneAndReportsFailures) {
    REQUIRE_MDB_CORPUS();
    std::string tool = std::string(QUILLAN_BUILD_DIR) + "/mdbdump ";
    std::string file = shellQuoted(corpusFile("jackcess/testV2000.mdb"));
    EXPECT_EQ(runCommand(tool + file), "Table1\nTable2\nTable3\nTable4\n");
    EXPECT_EQ(lines(runCommand(tool + file + " table1"))[1],
              "\"abcdefg\",\"hijklmnop\",2,222,333333333,444.555,\"1974-09-21 00:00:00\","
              "3.5000,1");
    EXPECT_EQ(runCommand(tool + file + " NoSuchTable 2>&1; echo status $?"),
              "mdbdump: 3078 There is no table or query named 'NoSuchTable'.\nstatus 1\n");
    EXPECT_EQ(runCommand(tool + shellQuoted(corpusFile("mdb-reader/V2000_with-password.mdb")) +
                         " 2>&1; echo status $?"),
              "mdbdump: 3031 The password is not valid.\nstatus 1\n");
}

// The comparison of the dump tool with mdb-export over the corpus sees one character
// changed: a copy of a file with one letter of a Unicode text changed differs from the
// original's export, and agrees with its own.
TEST(DumpToolTest, ItsComparisonWithMdbExportSeesOneCharacter) {
    REQUIRE_MDB_CORPUS();
    ScratchFolder scratch;
    std::string original = corpusFile("jackcess/testUnicodeCompV2003.mdb");
    std::string changed = scratch.copy("jackcess/testUnicodeCompV2003.mdb");
    EXPECT_EQ(runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(changed) +
                         " \"UPDATE [Table] SET [Unicode] = '\u00e4\u00e4kk\u00f6si\u00e5' "
                         "WHERE ID = 2\""),
              "1 rows affected\n");
    std::vector<std::string> reference = sorted(lines(mdbExport(original, "Table")));
    EXPECT_EQ(sorted(lines(dumped(original, "Table", true))), reference);
    EXPECT_NE(sorted(lines(dumped(changed, "Table", true))), reference);
    EXPECT_EQ(sorted(lines(dumped(changed, "Table", true))),
              sorted(lines(mdbExport(changed, "Table"))));
}

} // namespace
