// Changing tables through recordsets, checked with mdbtools on the written files: rows that
// grow past their pages, values of each type, refusals that leave the file as it was,
// transactions and failed writes, usage-map promotion, added and deleted rows.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/ExportText.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/FieldValue.h"
#include "mdbengine/dao/TableDef.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/LongValue.h"
#include "mdbengine/values/Utf8.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace daotest;
using quillan::test::runCommand;
namespace fs = std::filesystem;

namespace {

const std::string growth = "0123456789ABCDEFGHIJ";

std::vector<std::shared_ptr<Field>> fieldsOf(Recordset& recordset) {
    std::shared_ptr<Collection<Field>> collection;
    recordset.fields(collection);
    std::vector<std::shared_ptr<Field>> fields(collection->count());
    for (std::size_t i = 0; i < fields.size(); ++i)
        collection->item(i, fields[i]);
    return fields;
}

std::string mdbCount(const std::string& path, const std::string& table) {
    return runCommand("mdb-count " + shellQuoted(path) + " " + shellQuoted(table));
}

class WriteTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    std::shared_ptr<Recordset> table(const std::string& path, const std::string& name,
                                     const std::string& connect = {}) {
        database = open(engine, path, connect);
        return database ? openTable(*database, name) : nullptr;
    }

    Status set(Recordset& recordset, std::size_t field, const Variant& value) {
        return fieldsOf(recordset)[field]->setValue(value);
    }

    DBEngine engine;
    std::shared_ptr<Database> database;
    ScratchFolder scratch;
};

// Every Text column of every row of every user table gets 20 more characters, indexed ones
// included. The expected export is built alongside: what was written, or what was there
// when the longer value was refused for its column's size or by a unique index.
class GrowthTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    // Grows every table; answers each table's rows as our reader gives them afterwards.
    std::map<std::string, std::string> growAll(const std::string& path, const std::string& add) {
        DBEngine engine;
        auto database = open(engine, path, connectFor(GetParam()));
        std::map<std::string, std::string> expected;
        for (const std::string& name : userTables(*database)) {
            auto recordset = openTable(*database, name);
            jet4_ = recordset->jet4();
            auto fields = fieldsOf(*recordset);
            std::string lines;
            bool atEnd = false;
            for (recordset->eof(atEnd); !atEnd; recordset->moveNext(), recordset->eof(atEnd)) {
                EXPECT_EQ(recordset->edit(), statusOk) << errorText(engine);
                for (const auto& field : fields) {
                    if (field->type() != Field::typeText ||
                        !(field->attributes() & Field::updatableAttribute))
                        continue;
                    Variant value;
                    field->value(value);
                    std::string longer = (value.isNull() ? "" : value.stringValue()) + add;
                    Status status = field->setValue(Variant::text(longer));
                    if (static_cast<std::int32_t>(utf16Length(longer)) > field->size())
                        EXPECT_EQ(errorNumber(status), 3163);
                    else
                        EXPECT_EQ(status, statusOk) << errorText(engine);
                }
                std::string line = lineOf(fields);
                Status status = recordset->update();
                // A unique index refuses the longer value when another row has it already; an
                // index refuses a character whose key is not known here.
                bool uncoded =
                    errorNumber(status) == 3251 &&
                    errorText(engine).find("' holds the character '") != std::string::npos;
                if (errorNumber(status) == 3022 || uncoded) {
                    EXPECT_EQ(recordset->cancelUpdate(), statusOk);
                    line = lineOf(fields);
                } else {
                    EXPECT_EQ(status, statusOk) << name << ": " << errorText(engine);
                }
                lines += line + "\n";
            }
            expected[name] = lines;
        }
        EXPECT_EQ(database->close(), statusOk) << errorText(engine);
        return expected;
    }

    static std::string lineOf(const std::vector<std::shared_ptr<Field>>& fields) {
        std::string line;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            Variant value;
            fields[i]->value(value);
            line += (i ? "," : "") + exportText(value);
        }
        return line;
    }

    // The table's rows after the write, as our reader walks them, without the header.
    static std::string walked(const std::string& path, const std::string& connect,
                              const std::string& table) {
        DBEngine engine;
        auto database = open(engine, path, connect);
        std::string out;
        EXPECT_EQ(exportTable(*database, table, out), statusOk);
        return out.substr(out.find('\n') + 1);
    }

    ScratchFolder scratch;
    bool jet4_ = true;
};

TEST_P(GrowthTest, RowsGrowAndEverythingElseStays) {
    std::string path = scratch.copy(GetParam(), "grown.mdb");
    std::string connect = connectFor(GetParam());
    std::vector<std::string> tables;
    std::map<std::string, std::string> counts;
    {
        DBEngine engine;
        auto database = open(engine, path, connect);
        tables = userTables(*database);
    }
    for (const std::string& table : tables)
        counts[table] = mdbCount(path, table);
    std::string original = corpusFile(GetParam());
    ASSERT_TRUE(structureProblems(path, "password", original).empty());

    std::map<std::string, std::string> expected = growAll(path, growth);
    EXPECT_EQ(structureProblems(path, "password", original), std::vector<std::string>{});
    EXPECT_EQ(indexProblems(path, "password"), std::vector<std::string>{});
    for (const std::string& table : tables) {
        SCOPED_TRACE(table);
        EXPECT_EQ(walked(path, connect, table), expected[table]) << "the row order is kept";
        std::vector<std::string> reference = lines(mdbExport(path, table));
        reference.erase(reference.begin());
        EXPECT_EQ(sorted(reference),
                  sorted(lines(jet4_ ? expected[table] : asMdbExportShowsJet3(expected[table]))));
        EXPECT_EQ(mdbCount(path, table), counts[table]);
    }

    // Once more on the result: the images that move again leave deleted slots behind.
    SlotCounts before = slotCounts(path, "password");
    expected = growAll(path, growth);
    EXPECT_EQ(structureProblems(path, "password", original), std::vector<std::string>{});
    SlotCounts after = slotCounts(path, "password");
    EXPECT_GE(after.deleted, before.deleted);
    for (const std::string& table : tables)
        EXPECT_EQ(walked(path, connect, table), expected[table]) << table;

    // Values of the same size are rewritten where they are.
    auto size = fs::file_size(path);
    expected = growAll(path, "");
    EXPECT_EQ(fs::file_size(path), size);
    EXPECT_EQ(structureProblems(path, "password", original), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Corpus, GrowthTest, ::testing::ValuesIn(corpusFiles()),
                         [](const auto& info) { return testNameOf(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GrowthTest);

TEST_F(WriteTest, ValuesOfEachTypeAsMdbtoolsReadsThem) {
    for (const char* file : {"jackcess/testV2000.mdb", "jackcess/testV1997.mdb"}) {
        SCOPED_TRACE(file);
        std::string path = scratch.copy(file);
        auto recordset = table(path, "Table1");
        ASSERT_TRUE(recordset);
        Variant key[] = {Variant::text("abcdefg")};
        ASSERT_EQ(recordset->setIndex("PrimaryKey"), statusOk);
        ASSERT_EQ(recordset->seek("=", key), statusOk);
        ASSERT_EQ(recordset->edit(), statusOk);
        EXPECT_EQ(set(*recordset, 2, Variant::longInteger(200)), statusOk); // Byte
        EXPECT_EQ(set(*recordset, 3, Variant::real(-1234.0)), statusOk);    // Integer
        EXPECT_EQ(set(*recordset, 4, Variant::text("-7654321")), statusOk); // Long
        EXPECT_EQ(set(*recordset, 5, Variant::real(0.125)), statusOk);      // Double
        EXPECT_EQ(set(*recordset, 6, Variant::date(36526.75)), statusOk);   // Date
        EXPECT_EQ(set(*recordset, 7, Variant::real(12.3456)), statusOk);    // Currency
        EXPECT_EQ(set(*recordset, 8, Variant::boolean(false)), statusOk);   // Boolean
        Variant pending;
        fieldsOf(*recordset)[7]->value(pending);
        EXPECT_EQ(pending, Variant::currency(123456)) << "the field shows the value being edited";
        ASSERT_EQ(recordset->update(), statusOk) << errorText(engine);
        ASSERT_EQ(database->close(), statusOk);

        std::vector<std::string> exported = lines(mdbExport(path, "Table1"));
        EXPECT_NE(std::find(exported.begin(), exported.end(),
                            "\"abcdefg\",\"hijklmnop\",200,-1234,-7654321,0.125,"
                            "\"2000-01-01 18:00:00\",12.3456,0"),
                  exported.end());

        // Out of range: refused, nothing written.
        std::string hash = sha256(path);
        recordset = table(path, "Table1");
        ASSERT_EQ(recordset->edit(), statusOk);
        EXPECT_EQ(errorNumber(set(*recordset, 2, Variant::longInteger(300))), 3349);
        EXPECT_EQ(errorNumber(set(*recordset, 2, Variant::longInteger(-1))), 3349);
        EXPECT_EQ(errorNumber(set(*recordset, 3, Variant::longInteger(32768))), 3349);
        EXPECT_EQ(errorNumber(set(*recordset, 4, Variant::real(3e9))), 3349);
        EXPECT_EQ(errorNumber(set(*recordset, 7, Variant::real(1e15))), 3349);
        EXPECT_EQ(errorNumber(set(*recordset, 4, Variant::text("twelve"))), 3421);
        EXPECT_EQ(recordset->update(), statusOk) << "an Update with nothing set writes nothing";

        // A Seek ends the edit: the values set since are forgotten, and a Seek that finds
        // nothing leaves no record to read, not the edit's values.
        ASSERT_EQ(recordset->setIndex("PrimaryKey"), statusOk);
        ASSERT_EQ(recordset->edit(), statusOk);
        ASSERT_EQ(set(*recordset, 4, Variant::longInteger(5)), statusOk);
        Variant missing[] = {Variant::text("no such key")};
        ASSERT_EQ(recordset->seek("=", missing), statusOk);
        Variant stale;
        EXPECT_EQ(errorNumber(fieldsOf(*recordset)[4]->value(stale)), 3021);
        EXPECT_EQ(errorNumber(recordset->update()), 3020);
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(sha256(path), hash);
    }
}

// The conversions the columns make of what they are given.
TEST(FieldValueTest, ConversionsRoundAndRefuse) {
    Errors errors;
    auto convert = [&](file::ColumnType type, const Variant& value, Variant& out) {
        file::Column column;
        column.type = type;
        column.length = 20;
        return convertForColumn(column, value, true, errors, out);
    };
    Variant out;
    EXPECT_EQ(convert(file::ColumnType::Byte, Variant::real(2.5), out), statusOk);
    EXPECT_EQ(out, Variant::byte(2)) << "half to even";
    EXPECT_EQ(convert(file::ColumnType::Byte, Variant::real(255.4), out), statusOk);
    EXPECT_EQ(errorNumber(convert(file::ColumnType::Byte, Variant::real(255.5), out)), 3349);
    EXPECT_EQ(convert(file::ColumnType::Currency, Variant::real(12.34565), out), statusOk);
    EXPECT_EQ(out, Variant::currency(123456));
    EXPECT_EQ(convert(file::ColumnType::Boolean, Variant::null(), out), statusOk);
    EXPECT_EQ(out, Variant::boolean(false));
    EXPECT_EQ(convert(file::ColumnType::Boolean, Variant::text("yes"), out), statusOk);
    EXPECT_EQ(out, Variant::boolean(true));
    EXPECT_EQ(convert(file::ColumnType::Text, Variant::longInteger(42), out), statusOk);
    EXPECT_EQ(out, Variant::text("42"));
    EXPECT_EQ(convert(file::ColumnType::Text, Variant::text(std::string(10, 'x')), out), statusOk);
    EXPECT_EQ(
        errorNumber(convert(file::ColumnType::Text, Variant::text(std::string(11, 'x')), out)),
        3163)
        << "a Jet4 Text (20 bytes) holds 10 characters";
    EXPECT_EQ(convert(file::ColumnType::Single, Variant::real(1e39), out),
              failure(ErrorNumber::NumericOverflow));
    EXPECT_EQ(convert(file::ColumnType::Long, Variant(), out), statusOk);
    EXPECT_TRUE(out.isNull()) << "Empty, as a blank field is written, stores Null";
    // A text for a Date/Time field is read as a date, in either order of its parts.
    for (const char* date : {"3/1/2003", " 2003-03-01 ", "03/01/03"}) {
        EXPECT_EQ(convert(file::ColumnType::DateTime, Variant::text(date), out), statusOk) << date;
        EXPECT_EQ(out, Variant::date(37681)) << date;
    }
    EXPECT_EQ(convert(file::ColumnType::DateTime, Variant::text("3/1/2003 6:00 PM"), out),
              statusOk);
    EXPECT_EQ(out, Variant::date(37681.75));
    for (const char* notDate : {"2/30/2003", "tomorrow", "37681", ""})
        EXPECT_EQ(errorNumber(convert(file::ColumnType::DateTime, Variant::text(notDate), out)),
                  3421)
            << notDate;
    EXPECT_EQ(errorNumber(convert(file::ColumnType::Text, Variant::date(37681), out)), 3421)
        << "a date is not stored as text";

    // A Decimal of 5 digits, 2 after the point: rounded half away from zero, its whole
    // digits held to the 3 its precision leaves.
    file::Column decimal;
    decimal.type = file::ColumnType::Numeric;
    decimal.precision = 5;
    decimal.scale = 2;
    const std::vector<std::pair<Variant, std::string>> decimals = {
        {Variant::text(" 12.345 "), "12.35"}, {Variant::text("-12.344"), "-12.34"},
        {Variant::text("99.995"), "100.00"},  {Variant::longInteger(999), "999.00"},
        {Variant::currency(123456), "12.35"}, {Variant::real(-0.004), "0.00"},
        {Variant::decimal("7"), "7.00"}};
    for (const auto& [value, text] : decimals) {
        EXPECT_EQ(convertForColumn(decimal, value, true, errors, out), statusOk) << text;
        EXPECT_EQ(out, Variant::decimal(text));
    }
    for (const Variant& tooLarge : {Variant::longInteger(1000), Variant::text("999.995")})
        EXPECT_EQ(errorNumber(convertForColumn(decimal, tooLarge, true, errors, out)), 3349);
    for (const char* notNumber : {"12a", "-", "1.2.3"})
        EXPECT_EQ(
            errorNumber(convertForColumn(decimal, Variant::text(notNumber), true, errors, out)),
            3421)
            << notNumber;
}

TEST_F(WriteTest, RefusalsLeaveTheFileAsItWas) {
    std::string path = scratch.copy("jackcess/testV2000.mdb");
    std::string hash = sha256(path);
    auto recordset = table(path, "Table1");
    // The primary key, column A, holds "abcdefg" and "a".
    Variant key;
    ASSERT_EQ(fieldsOf(*recordset)[0]->value(key), statusOk);
    std::string other = key.stringValue() == "a" ? "abcdefg" : "a";
    ASSERT_EQ(recordset->edit(), statusOk);
    ASSERT_EQ(set(*recordset, 0, Variant::text(other)), statusOk);
    EXPECT_EQ(errorNumber(recordset->update()), 3022);
    EXPECT_NE(errorText(engine).find("'PrimaryKey'"), std::string::npos);
    EXPECT_EQ(set(*recordset, 0, Variant::text("A")), statusOk) << "still being edited";
    EXPECT_EQ(errorNumber(recordset->update()), 3022) << "keys are compared without regard to case";
    ASSERT_EQ(recordset->cancelUpdate(), statusOk);
    ASSERT_EQ(recordset->addNew(), statusOk);
    ASSERT_EQ(set(*recordset, 1, Variant::text("no key")), statusOk);
    EXPECT_EQ(errorNumber(recordset->update()), 3058) << "a primary key takes no Null";
    ASSERT_EQ(set(*recordset, 0, Variant::text(key.stringValue())), statusOk);
    EXPECT_EQ(errorNumber(recordset->update()), 3022);
    ASSERT_EQ(recordset->cancelUpdate(), statusOk);
    ASSERT_EQ(database->close(), statusOk);
    EXPECT_EQ(sha256(path), hash);

    std::string numberedFile = scratch.copy("mdb-reader/V2000_no-password.mdb");
    std::string numberedHash = sha256(numberedFile);
    recordset = table(numberedFile, "Table1");
    ASSERT_EQ(recordset->edit(), statusOk);
    EXPECT_EQ(errorNumber(set(*recordset, 0, Variant::longInteger(99))), 3164);
    EXPECT_NE(errorText(engine).find("numbers it"), std::string::npos);
    ASSERT_EQ(database->close(), statusOk);
    EXPECT_EQ(sha256(numberedFile), numberedHash);

    for (auto& [file, status] : std::vector<std::pair<std::string, std::uint16_t>>{
             {"locked.mdb", 3045}, {"readonly.mdb", 3027}}) {
        std::string copy = scratch.copy("jackcess/overflowTestV2000.mdb", file);
        std::string before = sha256(copy);
        if (status == 3027)
            ::chmod(copy.c_str(), 0444);
        recordset = table(copy, "Table1");
        if (status == 3045) {
            ASSERT_EQ(recordset->edit(), statusOk) << "the lock file appears later";
            EXPECT_EQ(errorNumber(set(*recordset, 0, Variant::text(std::string(51, 'x')))), 3163)
                << "Text (50)";
            ASSERT_EQ(set(*recordset, 0, Variant::text(std::string(50, 'x'))), statusOk);
            ASSERT_EQ(recordset->update(), statusOk);
            std::ofstream(fs::path(copy).replace_extension(".ldb")) << "";
            EXPECT_EQ(errorNumber(database->close()), 3045) << "not written while Access has it";
            recordset = table(copy, "Table1");
        }
        EXPECT_EQ(errorNumber(recordset->edit()), status);
        EXPECT_EQ(errorNumber(recordset->addNew()), status);
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(sha256(copy), before);
    }
}

TEST_F(WriteTest, CancelRollbackAndCommit) {
    std::string path = scratch.copy("jackcess/overflowTestV2000.mdb");
    std::string hash = sha256(path);
    auto recordset = table(path, "Table1");
    ASSERT_EQ(recordset->edit(), statusOk);
    ASSERT_EQ(set(*recordset, 0, Variant::text("cancelled")), statusOk);
    ASSERT_EQ(recordset->cancelUpdate(), statusOk);
    EXPECT_EQ(errorNumber(recordset->update()), 3020);
    ASSERT_EQ(engine.idle(0), statusOk);
    EXPECT_EQ(sha256(path), hash);

    ASSERT_EQ(engine.beginTrans(), statusOk);
    ASSERT_EQ(recordset->edit(), statusOk);
    ASSERT_EQ(set(*recordset, 0, Variant::text("rolled back")), statusOk);
    ASSERT_EQ(recordset->update(), statusOk);
    ASSERT_EQ(recordset->addNew(), statusOk);
    ASSERT_EQ(recordset->update(), statusOk);
    ASSERT_EQ(engine.idle(0), statusOk);
    EXPECT_EQ(sha256(path), hash) << "nothing is written inside a transaction";
    ASSERT_EQ(engine.rollback(), statusOk);
    std::vector<Variant> first = column(*recordset, 0);
    EXPECT_EQ(first.size(), 7u);
    EXPECT_EQ(first[0], Variant::text("row1col1"));
    ASSERT_EQ(engine.idle(0), statusOk);
    EXPECT_EQ(sha256(path), hash);

    // Nested: the inner rollback keeps what the outer transaction did.
    ASSERT_EQ(engine.beginTrans(), statusOk);
    ASSERT_EQ(recordset->moveFirst(), statusOk);
    ASSERT_EQ(recordset->edit(), statusOk);
    ASSERT_EQ(set(*recordset, 0, Variant::text("outer")), statusOk);
    ASSERT_EQ(recordset->update(), statusOk);
    ASSERT_EQ(engine.beginTrans(), statusOk);
    ASSERT_EQ(recordset->moveLast(), statusOk);
    ASSERT_EQ(recordset->edit(), statusOk);
    ASSERT_EQ(set(*recordset, 0, Variant::text("inner")), statusOk);
    ASSERT_EQ(recordset->update(), statusOk);
    ASSERT_EQ(engine.rollback(), statusOk);
    ASSERT_EQ(engine.commitTrans(), statusOk);
    EXPECT_EQ(errorNumber(engine.commitTrans()), 3034) << "no transaction is left to end";
    EXPECT_EQ(errorNumber(engine.rollback()), 3034);
    std::string exported = mdbExport(path, "Table1");
    EXPECT_NE(exported.find("\"outer\""), std::string::npos);
    EXPECT_EQ(exported.find("\"inner\""), std::string::npos);
    EXPECT_EQ(structureProblems(path, {}, corpusFile("jackcess/overflowTestV2000.mdb")),
              std::vector<std::string>{});
}

// Two handles change the same file: the second write would undo the first, so it is refused.
TEST_F(WriteTest, ASecondWriterDoesNotUndoTheFirst) {
    std::string path = scratch.copy("jackcess/overflowTestV2000.mdb");
    DBEngine otherEngine;
    auto mine = table(path, "Table1");
    auto otherDatabase = open(otherEngine, path);
    auto theirs = openTable(*otherDatabase, "Table1");
    for (auto [recordset, text] :
         {std::pair{mine.get(), "mine"}, std::pair{theirs.get(), "theirs"}}) {
        ASSERT_EQ(recordset->edit(), statusOk);
        ASSERT_EQ(fieldsOf(*recordset)[0]->setValue(Variant::text(text)), statusOk);
        ASSERT_EQ(recordset->update(), statusOk);
    }
    ASSERT_EQ(engine.idle(0), statusOk);
    EXPECT_EQ(errorNumber(otherEngine.idle(0)), 3197);
    EXPECT_NE(mdbExport(path, "Table1").find("\"mine\""), std::string::npos);
    EXPECT_EQ(mdbExport(path, "Table1").find("\"theirs\""), std::string::npos);
    otherDatabase->close();
}

// The file is written anew and renamed over the original: a write that fails part way
// leaves the original as it was, no temporary file behind and no change to land later.
TEST_F(WriteTest, FailedWritesLeaveTheOriginal) {
    std::string path = scratch.copy("jackcess/testV2000.mdb");
    std::string hash = sha256(path);
    auto recordset = table(path, "Table1");
    ASSERT_EQ(recordset->edit(), statusOk);
    ASSERT_EQ(set(*recordset, 2, Variant::byte(9)), statusOk);
    ASSERT_EQ(recordset->update(), statusOk);

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    Status status = engine.idle(0);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(errorNumber(status), 3043);
    EXPECT_NE(errorText(engine).find("the file is as it was"), std::string::npos);
    EXPECT_EQ(sha256(path), hash);
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), {}), 1);

    ASSERT_EQ(engine.idle(0), statusOk);
    EXPECT_EQ(sha256(path), hash) << "the refused change went with the refusal";

    // A filesystem too small for the file.
    fs::path small_fs = scratch.path("small");
    quillan::test::SmallDisk disk(small_fs.string(), 200 * 1024);
    ASSERT_TRUE(disk.mounted()) << disk.refusal();
    std::string inSmall = (small_fs / "list.mdb").string();
    fs::copy_file(corpusFile("jackcess/overflowTestV2000.mdb"), inSmall);
    ::chmod(inSmall.c_str(), 0644);
    std::string smallHash = sha256(inSmall);
    {
        DBEngine other;
        auto db = open(other, inSmall);
        auto rs = openTable(*db, "Table1");
        ASSERT_EQ(rs->edit(), statusOk);
        ASSERT_EQ(fieldsOf(*rs)[0]->setValue(Variant::text("x")), statusOk);
        ASSERT_EQ(rs->update(), statusOk);
        EXPECT_EQ(errorNumber(other.idle(0)), 3043);
        EXPECT_EQ(sha256(inSmall), smallHash);
        EXPECT_EQ(std::distance(fs::directory_iterator(small_fs), {}), 1);
        db->close();
    }
}

TEST_F(WriteTest, UsageMapBecomesAReferenceMap) {
    std::string path = scratch.copy("jackcess/testPromotionV2000.mdb");
    auto recordset = table(path, "jobDB1");
    ASSERT_TRUE(recordset);
    auto fields = fieldsOf(*recordset);
    auto file = database->file();
    std::uint32_t tablePage = 0;
    for (const auto& entry : file->catalog().tables())
        if (entry.name == "jobDB1")
            tablePage = entry.tablePage();
    auto definition = file->tableDefinition(tablePage);
    ASSERT_EQ(definition->columns[0].name, "ID");
    auto mapType = [&] {
        auto page = file->pages().page(file::DataPage::pageOf(definition->ownedPagesMap));
        return file::DataPage(page, file->pages().format())
            .row(file::DataPage::slotOf(definition->ownedPagesMap))[0];
    };
    ASSERT_EQ(mapType(), 0) << "an inline map to begin with";
    int added = 0;
    while (mapType() == 0 && added < 200000) {
        ASSERT_EQ(recordset->addNew(), statusOk) << errorText(engine);
        ASSERT_EQ(fields[0]->setValue(Variant::longInteger(added)), statusOk);
        ASSERT_EQ(fields[3]->setValue(Variant::text("job " + std::to_string(added))), statusOk);
        ASSERT_EQ(recordset->update(), statusOk) << errorText(engine);
        ++added;
    }
    ASSERT_EQ(mapType(), 1);
    for (int i = 0; i < 100; ++i, ++added) {
        ASSERT_EQ(recordset->addNew(), statusOk);
        ASSERT_EQ(recordset->update(), statusOk);
    }
    ASSERT_EQ(database->close(), statusOk) << errorText(engine);

    EXPECT_EQ(mdbCount(path, "jobDB1"), std::to_string(added) + "\n");
    std::string ours;
    DBEngine reader;
    ASSERT_EQ(exportTable(*open(reader, path), "jobDB1", ours), statusOk);
    EXPECT_EQ(sorted(lines(mdbExport(path, "jobDB1"))), sorted(lines(ours)));
    EXPECT_EQ(structureProblems(path, {}, corpusFile("jackcess/testPromotionV2000.mdb")),
              std::vector<std::string>{});
}

// Rows of long-value pages not deleted, over the whole file.
std::size_t longValueRows(const std::string& path) {
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    EXPECT_EQ(DatabaseFile::open(path, {false, true, {}}, errors, file), statusOk);
    std::size_t rows = 0;
    file::PageStore& pages = file->pages();
    for (std::uint32_t number = 3; number < pages.pageCount(); ++number) {
        auto bytes = pages.page(number);
        if (bytes[0] != 0x01)
            continue;
        file::DataPage page(bytes, pages.format());
        if (page.owner() != file::longValuePageOwner)
            continue;
        for (std::uint16_t slot = 0; slot < page.rowCount(); ++slot)
            rows += (page.slot(slot) & 0xC000) != 0xC000;
    }
    return rows;
}

// Memo and long binary values in each of their three forms: in the row, in one row of a
// long-value page, in a chain of them. A value replaced or deleted gives its rows up.
TEST_F(WriteTest, LongValuesInTheRowInOnePageRowAndInAChain) {
    for (const char* file : {"jackcess/test2V1997.mdb", "jackcess/test2V2000.mdb"}) {
        SCOPED_TRACE(file);
        std::string path = scratch.copy(file);
        auto recordset = table(path, "MSP_PROJECTS");
        bool jet4 = recordset->jet4();
        auto fields = fieldsOf(*recordset);
        auto numbered = [&](const std::string& name) {
            for (std::size_t i = 0; i < fields.size(); ++i)
                if (fields[i]->name() == name)
                    return i;
            ADD_FAILURE() << name;
            return std::size_t{0};
        };
        std::size_t inRow = numbered("PROJ_PROP_CATEGORY");
        std::size_t onePage = numbered("PROJ_PROP_COMPANY");
        std::size_t chained = numbered("PROJ_PROP_KEYWORDS");
        std::size_t binary = numbered("RESERVED_BINARY_DATA");
        std::string shortText = "short memo";
        std::string pageText(1500, 'p');
        std::string chainText;
        while (chainText.size() < 9000)
            chainText += "chain " + std::to_string(chainText.size()) + " ";
        std::string data;
        for (int i = 0; i < 10000; ++i)
            data += static_cast<char>(i * 7 % 256);

        ASSERT_EQ(recordset->edit(), statusOk);
        ASSERT_EQ(set(*recordset, inRow, Variant::text(shortText)), statusOk);
        ASSERT_EQ(set(*recordset, onePage, Variant::text(pageText)), statusOk);
        ASSERT_EQ(set(*recordset, chained, Variant::text(chainText)), statusOk);
        ASSERT_EQ(fields[binary]->appendChunk(Variant::bytes("replaced")), statusOk);
        ASSERT_EQ(set(*recordset, binary, Variant::bytes("")), statusOk);
        for (std::size_t start = 0; start < data.size(); start += 4096)
            ASSERT_EQ(fields[binary]->appendChunk(Variant::bytes(data.substr(start, 4096))),
                      statusOk)
                << "after a value is set, the first chunk replaces it";
        ASSERT_EQ(recordset->update(), statusOk) << errorText(engine);
        ASSERT_EQ(database->close(), statusOk);

        std::string exported = mdbExport(path, "MSP_PROJECTS");
        for (const std::string& text : {shortText, pageText, chainText})
            EXPECT_NE(exported.find("\"" + text + "\""), std::string::npos);
        recordset = table(path, "MSP_PROJECTS");
        fields = fieldsOf(*recordset);
        Variant value;
        ASSERT_EQ(fields[binary]->value(value), statusOk);
        EXPECT_EQ(value.stringValue(), data);
        EXPECT_EQ(structureProblems(path, {}, corpusFile(file)), std::vector<std::string>{});
        EXPECT_EQ(indexProblems(path), std::vector<std::string>{});

        // A page row holds the page less its header and one slot; a chain row gives four
        // bytes to its pointer. Jet4 keeps a memo of over 1024 characters uncompressed.
        std::size_t perRow = (jet4 ? 4096 - 14 : 2048 - 10) - 2 - 4;
        std::size_t chainBytes = chainText.size() * (jet4 ? 2 : 1);
        std::size_t chainRows = (chainBytes + perRow - 1) / perRow;
        std::size_t binaryRows = (data.size() + perRow - 1) / perRow;
        std::size_t written = longValueRows(path);
        ASSERT_EQ(recordset->edit(), statusOk);
        ASSERT_EQ(set(*recordset, chained, Variant::text("now short")), statusOk);
        ASSERT_EQ(recordset->update(), statusOk);
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(longValueRows(path), written - chainRows);

        recordset = table(path, "MSP_PROJECTS");
        ASSERT_EQ(recordset->deleteRecord(), statusOk);
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(longValueRows(path), written - chainRows - 1 - binaryRows - 1)
            << "the record's rows go, the author memo's one row with them";
        EXPECT_EQ(structureProblems(path, {}, corpusFile(file)), std::vector<std::string>{});
    }
}

TEST_F(WriteTest, AddingAndDeletingRowsOfATableWithoutIndexes) {
    std::string path = scratch.copy("jackcess/overflowTestV2000.mdb");
    auto recordset = table(path, "Table1");
    auto fields = fieldsOf(*recordset);
    constexpr int added = 100000;
    for (int i = 0; i < added; ++i) {
        ASSERT_EQ(recordset->addNew(), statusOk);
        ASSERT_EQ(fields[0]->setValue(Variant::text("name " + std::to_string(i))), statusOk);
        ASSERT_EQ(recordset->update(), statusOk) << errorText(engine);
    }
    std::vector<std::uint8_t> last;
    ASSERT_EQ(recordset->lastModified(last), statusOk);
    ASSERT_EQ(recordset->setBookmark(last), statusOk);
    Variant value;
    fields[0]->value(value);
    EXPECT_EQ(value, Variant::text("name 99999"));

    // Every hundredth record goes.
    ASSERT_EQ(recordset->moveFirst(), statusOk);
    int deleted = 0;
    for (int position = 0; deleted < 1000; ++position) {
        if (position % 100 == 0) {
            ASSERT_EQ(recordset->deleteRecord(), statusOk) << errorText(engine);
            ++deleted;
        }
        ASSERT_EQ(recordset->moveNext(), statusOk);
    }
    std::int32_t count = 0;
    recordset->recordCount(count);
    EXPECT_EQ(count, 7 + added - 1000);
    ASSERT_EQ(database->close(), statusOk) << errorText(engine);

    EXPECT_EQ(mdbCount(path, "Table1"), std::to_string(count) + "\n");
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    ASSERT_EQ(DatabaseFile::open(path, {false, true, ""}, errors, file), statusOk);
    EXPECT_EQ(file->tableDefinition(file->catalog().tables().back().tablePage())->rowCount,
              static_cast<std::uint32_t>(count));
    EXPECT_EQ(structureProblems(path, {}, corpusFile("jackcess/overflowTestV2000.mdb")),
              std::vector<std::string>{});

    // A record deleted under another recordset's feet.
    recordset = table(path, "Table1");
    auto other = openTable(*database, "Table1");
    ASSERT_EQ(recordset->deleteRecord(), statusOk);
    fieldsOf(*other)[0]->value(value);
    EXPECT_EQ(errorNumber(fieldsOf(*other)[0]->value(value)), 3167);
    EXPECT_EQ(errorNumber(other->edit()), 3167);
    EXPECT_EQ(errorNumber(other->deleteRecord()), 3167);
}

// Rows added one a session (the sql tool adds one a run) go to the pages with room, as the
// table's map of them says, and the room deleted rows leave is used again: the file grows by
// what the rows need, not by a page a session.
TEST_F(WriteTest, EachSessionsRowsGoWhereThereIsRoom) {
    for (const char* file : {"jackcess/overflowTestV2000.mdb", "jackcess/overflowTestV1997.mdb"}) {
        SCOPED_TRACE(file);
        std::string path = scratch.copy(file);
        auto addInSessions = [&](int sessions, int rows, const std::string& name) {
            for (int s = 0; s < sessions; ++s) {
                auto recordset = table(path, "Table1");
                ASSERT_TRUE(recordset);
                auto fields = fieldsOf(*recordset);
                for (int r = 0; r < rows; ++r) {
                    ASSERT_EQ(recordset->addNew(), statusOk);
                    std::string value = name + " " + std::to_string(s) + "-" + std::to_string(r);
                    ASSERT_EQ(fields[0]->setValue(Variant::text(value)), statusOk);
                    ASSERT_EQ(fields[1]->setValue(Variant::text("12 MAIN STREET")), statusOk);
                    ASSERT_EQ(recordset->update(), statusOk) << errorText(engine);
                }
                ASSERT_EQ(database->close(), statusOk) << errorText(engine);
            }
        };
        addInSessions(1, 300, "first");
        auto filled = fs::file_size(path);
        addInSessions(150, 1, "one");
        const std::uintmax_t page =
            std::string(file).find("V1997") != std::string::npos ? 2048 : 4096;
        // 150 rows of about 30 bytes: two or three pages, not 150.
        EXPECT_LE(fs::file_size(path), filled + 4 * page);

        auto recordset = table(path, "Table1");
        ASSERT_TRUE(recordset);
        for (int deleted = 0; deleted < 200; ++deleted) {
            ASSERT_EQ(recordset->moveFirst(), statusOk);
            ASSERT_EQ(recordset->deleteRecord(), statusOk);
        }
        ASSERT_EQ(database->close(), statusOk);
        auto thinned = fs::file_size(path);
        addInSessions(20, 10, "again");
        for (int i = 0; i < 5; ++i)
            runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(path) +
                       " \"INSERT INTO Table1 (data1) VALUES ('tool " + std::to_string(i) + "')\"");
        // The deleted rows' room is used again; their slots stay, so a page at most is added.
        EXPECT_LE(fs::file_size(path), thinned + page);
        EXPECT_EQ(mdbCount(path, "Table1"), std::to_string(7 + 300 + 150 - 200 + 200 + 5) + "\n");
        EXPECT_EQ(structureProblems(path, {}, corpusFile(file)), std::vector<std::string>{});
    }
}

// A column whose Required property is set takes no Null, from a recordset or a statement,
// on a new record or an edited one (3314, naming the column); the file stays as it was.
TEST_F(WriteTest, RequiredFieldsTakeNoNull) {
    std::string path = scratch.copy("ucanaccess/accessLike.mdb");
    std::string hash = sha256(path);
    {
        auto recordset = table(path, "t_like1");
        ASSERT_TRUE(recordset);
        EXPECT_EQ(recordset->table().requiredColumns.size(), 1u);
        ASSERT_EQ(recordset->addNew(), statusOk);
        ASSERT_EQ(set(*recordset, 0, Variant::text("only a1")), statusOk);
        EXPECT_EQ(errorNumber(recordset->update()), 3314);
        EXPECT_EQ(errorText(engine), "3314 The field 'a2' cannot contain a Null value because the "
                                     "Required property for this field is set to True. Enter a "
                                     "value in this field.");
        ASSERT_EQ(recordset->cancelUpdate(), statusOk);
        auto filled = openTable(*database, "t_like2");
        ASSERT_EQ(filled->moveFirst(), statusOk);
        ASSERT_EQ(filled->edit(), statusOk);
        ASSERT_EQ(set(*filled, 2, Variant::null()), statusOk);
        EXPECT_EQ(errorNumber(filled->update()), 3314) << "an edited record";
        ASSERT_EQ(filled->cancelUpdate(), statusOk);
        EXPECT_EQ(errorNumber(database->execute("UPDATE t_like2 SET Campo2 = Null")), 3314);
        EXPECT_EQ(errorNumber(database->execute("INSERT INTO t_like1 (a1) VALUES ('x')")), 3314);
        ASSERT_EQ(database->close(), statusOk);
    }
    EXPECT_EQ(sha256(path), hash);
    {
        auto recordset = table(path, "t_like1");
        ASSERT_EQ(recordset->addNew(), statusOk);
        ASSERT_EQ(set(*recordset, 0, Variant::text("blank a2")), statusOk);
        ASSERT_EQ(set(*recordset, 1, Variant::text("")), statusOk);
        EXPECT_EQ(recordset->update(), statusOk) << "a text of no characters is a value";
        ASSERT_EQ(database->close(), statusOk);
    }
    std::vector<std::string> exported = lines(mdbExport(path, "t_like1"));
    EXPECT_NE(std::find(exported.begin(), exported.end(), "\"blank a2\","), exported.end());

    std::string users = scratch.copy("jackcess/fixedTextTestV2000.mdb");
    EXPECT_EQ(table(users, "users")->table().requiredColumns.size(), 10u);
    database.reset();
    EXPECT_NE(runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(users) +
                         " 'INSERT INTO users (i_user_id) VALUES (99)' 2>&1")
                  .find("mdbsql: 3314 The field 'c_user_login'"),
              std::string::npos);
}

TEST_F(WriteTest, OriginalsPassTheStructureCheck) {
    for (const std::string& file : corpusFiles())
        EXPECT_EQ(structureProblems(corpusFile(file), "password", corpusFile(file)),
                  std::vector<std::string>{})
            << file;
}

} // namespace

namespace {

TEST(FillToolTest, AppendsAListToACopyOfTheTemplate) {
    ScratchFolder scratch;
    std::string list = scratch.path("list.txt");
    std::ofstream(list) << "ANNA SMITH\t12 MAIN ST\tDALLAS\tTX\t75201\tDALLAS\r\n"
                           "JOSE LOPEZ\t3 OAK AVE\tSAN JOS\xC3\x89\tCA\t\tSANTA CLARA\r\n";
    std::string tool = std::string(QUILLAN_BUILD_DIR) + "/mdbfill ";
    for (const char* jet : {"", " --jet3"}) {
        std::string out = scratch.path(std::string("filled") + jet + ".mdb");
        EXPECT_EQ(runCommand(tool + shellQuoted(list) + " " + shellQuoted(out) + jet),
                  "2 records appended to " + out + "\n");
        EXPECT_EQ(mdbCount(out, "Table1"), "9\n") << "the template's 7 rows and the list's 2";
        std::vector<std::string> rows = lines(mdbExport(out, "Table1"));
        EXPECT_NE(
            std::find(rows.begin(), rows.end(),
                      "\"ANNA SMITH\",\"12 MAIN ST\",\"DALLAS\",\"TX\",\"75201\",\"DALLAS\",,,"),
            rows.end());
        EXPECT_NE(
            std::find(
                rows.begin(), rows.end(),
                "\"JOSE LOPEZ\",\"3 OAK AVE\",\"SAN JOS\xC3\x89\",\"CA\",,\"SANTA CLARA\",,,"),
            rows.end())
            << "UTF-8 in, as mdb-export reads it out; a blank value Null";
    }
}

} // namespace
