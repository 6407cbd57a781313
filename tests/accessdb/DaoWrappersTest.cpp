// The wrappers the Access driver calls: statuses kept per wrapper in the form the driver
// checks, wrappers without an object after a failed hand-out, typed value readers and the
// thirteen-key Seek.

#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TDAOEngine.h"
#include "mdbengine/values/Utf8.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace accessdb;
namespace fs = std::filesystem;

namespace {

std::string corpusFile(const std::string& relative) {
    return (fs::path(QUILLAN_MDB_CORPUS) / relative).string();
}

bool lowBitsSet(HResult result) {
    return (result & 0xFFFF) != 0;
}

class DaoWrappersTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(QUILLAN_MDB_CORPUS))
            GTEST_FAIL() << "no .mdb corpus at " << QUILLAN_MDB_CORPUS;
    }

    std::unique_ptr<TDAODatabase> openDatabase(const std::string& file, const Variant& connect) {
        return engine.openDatabase(corpusFile(file), Variant::boolean(false),
                                   Variant::boolean(true), connect);
    }

    // The driver's message: "Access Status n - text" from the first error.
    std::string firstError() {
        auto errors = engine.errors();
        if (errors->count() == 0)
            return {};
        auto error = errors->item(0);
        return std::to_string(error->number()) + " " + error->description();
    }

    TDAOEngine engine{36, true};
};

TEST_F(DaoWrappersTest, FailuresKeepTheDaoNumberInTheLowBits) {
    EXPECT_TRUE(engine.created());
    auto database = openDatabase("jackcess/missing.mdb", Variant::missing());
    EXPECT_EQ(engine.lastResult(), 0x800A0000u | 3024u);
    EXPECT_TRUE(lowBitsSet(engine.lastResult()));
    EXPECT_FALSE(database->hasInterface());
    EXPECT_NE(firstError().find("3024 The file '"), std::string::npos);

    database = openDatabase("jackcess/indexTestV2000.mdb", Variant::missing());
    ASSERT_EQ(engine.lastResult(), 0u);
    auto recordset = database->openRecordset("NoSuchTable", -1, -1);
    EXPECT_EQ(database->lastResult() & 0xFFFF, 3078u);
    EXPECT_FALSE(recordset->hasInterface());
    recordset->moveFirst();
    EXPECT_EQ(recordset->lastResult() & 0xFFFF, 3420u) << "a wrapper without object answers";
    EXPECT_TRUE(recordset->eof());
    recordset->close();

    recordset = database->openRecordset("Table1", -1, 4);
    ASSERT_EQ(database->lastResult(), 0u);
    recordset->edit();
    EXPECT_EQ(recordset->lastResult() & 0xFFFF, 3027u);
    recordset->moveFirst();
    EXPECT_EQ(recordset->lastResult(), 0u) << "each call replaces the status";
}

TEST_F(DaoWrappersTest, PasswordsTravelInTheConnectString) {
    openDatabase("mdb-reader/V2000_with-password.mdb", Variant::missing());
    EXPECT_EQ(engine.lastResult() & 0xFFFF, 3031u);
    auto database =
        openDatabase("mdb-reader/V2000_with-password.mdb", Variant::text(";pwd=password"));
    EXPECT_EQ(engine.lastResult(), 0u);
    std::string name;
    database->getName(name);
    EXPECT_EQ(name, corpusFile("mdb-reader/V2000_with-password.mdb"));
}

TEST_F(DaoWrappersTest, CollectionsHandOutNewWrappersEvenWhenAnItemIsMissing) {
    auto database = openDatabase("jackcess/indexTestV2000.mdb", Variant::missing());
    auto tables = database->tableDefs();
    std::int16_t count = tables->count();
    EXPECT_EQ(count, 13);
    auto missing = tables->item(count);
    EXPECT_EQ(tables->lastResult() & 0xFFFF, 3265u);
    EXPECT_FALSE(missing->hasInterface());
    std::string name = "unchanged";
    missing->getName(name);
    EXPECT_EQ(name, "unchanged");
    auto table = tables->item(count - 3);
    table->getName(name);
    EXPECT_EQ(name, "Table1");
    table->setName("Other");
    EXPECT_EQ(table->lastResult() & 0xFFFF, 3251u);

    auto recordset = database->openRecordset("Table1", -1, -1);
    auto indexes = recordset->getIndexes();
    ASSERT_EQ(indexes->count(), 4);
    auto primary = indexes->item(1);
    EXPECT_TRUE(primary->primary());
    EXPECT_TRUE(primary->unique());
    auto keys = primary->fields();
    ASSERT_EQ(keys->count(), 1);
    keys->item(0)->getName(name);
    EXPECT_EQ(name, "id");
    EXPECT_EQ(keys->item(0)->attributes(), 0);
}

TEST_F(DaoWrappersTest, TypedReadersTakeOnlyTheirOwnType) {
    auto database = openDatabase("jackcess/testV2000.mdb", Variant::missing());
    auto recordset = database->openRecordset("Table1", -1, -1);
    auto fields = recordset->getFields();
    ASSERT_EQ(fields->count(), 9);
    EXPECT_EQ(fields->item(0)->asText(), "abcdefg");
    EXPECT_EQ(fields->item(2)->asByte(), 2);
    EXPECT_EQ(fields->item(3)->asInt16(), 222);
    EXPECT_EQ(fields->item(4)->asInt32(), 333333333);
    EXPECT_EQ(fields->item(5)->asDouble(), 444.555);
    EXPECT_EQ(fields->item(6)->asDate(), 27293.0);
    EXPECT_EQ(fields->item(7)->asCurrency(), 35000);
    EXPECT_TRUE(fields->item(8)->asBoolean());
    EXPECT_EQ(fields->item(4)->asDouble(), 0.0) << "a Long is not read as a Double";
    EXPECT_EQ(fields->item(3)->asText(), "");
    EXPECT_EQ(fields->item(0)->fieldSize(), 50) << "Text: its size in characters";
    EXPECT_EQ(fields->item(2)->attributes() & TDAOField::updatableAttribute,
              TDAOField::updatableAttribute);
    EXPECT_EQ(fields->item(0)->attributes() & TDAOField::updatableAttribute,
              TDAOField::updatableAttribute)
        << "the primary key's column too: its indexes are kept";

    auto memoTable = openDatabase("jackcess/test2V2000.mdb", Variant::missing())
                         ->openRecordset("MSP_PROJECTS", -1, -1);
    auto memo = memoTable->getFields()->item(2);
    EXPECT_EQ(memo->type(), 12);
    EXPECT_EQ(memo->getChunk(4, 4), "Iles");
    EXPECT_EQ(memo->fieldSize(), static_cast<std::int32_t>(memo->asText().size()));
}

TEST_F(DaoWrappersTest, SeekTakesThirteenKeysAndBookmarksFourBytes) {
    auto database = openDatabase("jackcess/indexTestV2000.mdb", Variant::missing());
    auto recordset = database->openRecordset("Table1", -1, -1);
    recordset->setIndex("PrimaryKey");
    ASSERT_EQ(recordset->lastResult(), 0u);
    std::array<Variant, TDAORecordset::seekKeys> keys;
    keys.fill(Variant::missing());
    keys[0] = Variant::longInteger(3);
    recordset->seek("=", keys);
    ASSERT_EQ(recordset->lastResult(), 0u);
    EXPECT_FALSE(recordset->noMatch());
    EXPECT_EQ(recordset->absolutePosition(), 3);
    std::vector<std::uint8_t> mark = recordset->bookmark();
    ASSERT_EQ(mark.size(), 4u);
    recordset->moveFirst();
    recordset->setBookmark(mark);
    EXPECT_EQ(recordset->getFields()->item(0)->asInt32(), 3);

    keys[0] = Variant::longInteger(99);
    recordset->seek(">", keys);
    EXPECT_TRUE(recordset->noMatch());
    recordset->moveLast();
    EXPECT_EQ(recordset->getFields()->item(0)->asInt32(), 3);

    recordset->setIndex("NoSuchIndex");
    EXPECT_EQ(recordset->lastResult() & 0xFFFF, 3800u);
    EXPECT_EQ(firstError(), "3800 'NoSuchIndex' is not an index of this table.");
}

TEST_F(DaoWrappersTest, TransactionsAndIdle) {
    engine.idle(0);
    EXPECT_EQ(engine.lastResult(), 0u);
    engine.commitTrans();
    EXPECT_EQ(engine.lastResult() & 0xFFFF, 3034u);
    engine.beginTrans();
    engine.rollback();
    EXPECT_EQ(engine.lastResult(), 0u);
}

} // namespace

namespace {

// The engine's words reach the driver in UTF-8, naming a character the program's code page
// lacks as itself; cut to the driver's 255 bytes, a message ends before a character that
// would not fit whole.
TEST_F(DaoWrappersTest, MessagesNameEveryCharacterInUtf8) {
    fs::path folder = fs::temp_directory_path() / ("accmsg-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::string path = (folder / "unicode.mdb").string();
    fs::copy_file(corpusFile("jackcess/testUnicodeCompV2003.mdb"), path,
                  fs::copy_options::overwrite_existing);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    auto database = engine.openDatabase(path, Variant::boolean(false), Variant::boolean(false),
                                        Variant::missing());
    database->execute("UPDATE [Table] SET [Unicode] = [Unicode] & 'x' WHERE ID = 5");
    EXPECT_EQ(database->lastResult() & 0xFFFF, 3251u);
    std::string said = firstError();
    EXPECT_NE(said.find("'Unicode' holds the character '\u6f22' (U+6F22)"), std::string::npos)
        << said;
    database->close();
    fs::remove_all(folder);

    std::string words;
    while (words.size() < 300)
        words += "\u0141\U0001F600";
    std::string message = EAccessEngineError::messageFor(3251, words);
    EXPECT_LE(message.size(), 255u);
    EXPECT_GE(message.size(), 250u);
    EXPECT_TRUE(mdbengine::isUtf8(message));
}

TEST_F(DaoWrappersTest, ChangesGoThroughEditUpdateAndIdle) {
    fs::path folder = fs::temp_directory_path() / ("accdao-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::string path = (folder / "list.mdb").string();
    fs::copy_file(corpusFile("jackcess/overflowTestV2000.mdb"), path,
                  fs::copy_options::overwrite_existing);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    {
        auto database = engine.openDatabase(path, Variant::boolean(false), Variant::boolean(false),
                                            Variant::missing());
        auto recordset = database->openRecordset("Table1", -1, -1);
        auto fields = recordset->getFields();
        recordset->moveLast();
        std::vector<std::uint8_t> mark = recordset->bookmark();
        auto sortField = fields->item(8);
        recordset->edit();
        sortField->setValue(Variant::text("sorted"));
        EXPECT_EQ(sortField->lastResult(), 0u);
        recordset->update();
        EXPECT_EQ(recordset->lastResult(), 0u);
        EXPECT_EQ(recordset->lastModified(), mark);
        sortField->setValue(Variant::text("x"));
        EXPECT_EQ(sortField->lastResult() & 0xFFFF, 3020u) << "no Edit";
        recordset->close();
        engine.idle(0);
        EXPECT_EQ(engine.lastResult(), 0u);
        database->close();
    }
    auto reopened = engine.openDatabase(path, Variant::boolean(false), Variant::boolean(true),
                                        Variant::missing());
    auto recordset = reopened->openRecordset("Table1", -1, -1);
    recordset->moveLast();
    EXPECT_EQ(recordset->getFields()->item(8)->asText(), "sorted");
    reopened->close();
    fs::remove_all(folder);
}

} // namespace
