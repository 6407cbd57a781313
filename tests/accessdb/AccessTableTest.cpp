// The Access cursor through the engine's call interface: record layout, value conversions
// both ways (checked with mdb-export on written copies), blobs, keys, changes, catalogue
// lists and statements.

#include "tests/accessdb/AccessTestSupport.h"

#include "accessdb/access/AccessFieldTypes.h"
#include "accessdb/access/TAccessDatabase.h"
#include "accessdb/access/TAccessSqlStmt.h"
#include "accessdb/access/TAccessTable.h"
#include "accessdb/engine/ETorvaneEngineError.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

constexpr Status refused = 3251;
constexpr double msPerDay = 86400000.0;

struct AccessTableTest : ::testing::Test {
    std::unique_ptr<TVirtEng> engine;
    ScratchFolder scratch;

    void SetUp() override {
        REQUIRE_MDB_CORPUS();
        engine = std::make_unique<TVirtEng>(accessSessionFactory());
    }

    TBaseDatabase* database(const std::string& path, std::uint32_t openMode = 0) {
        EngineParams none;
        TBaseDatabase* db = nullptr;
        EXPECT_EQ(engine->OpenDatabase(path, "", openMode, 0, "", none, db), 0) << path;
        return db;
    }

    TBaseTable* table(TBaseDatabase* db, const std::string& name, std::uint32_t openMode = 0,
                      const std::string& index = "") {
        OpenTableArgs args;
        args.tableName = name;
        args.openMode = openMode;
        args.indexName = index;
        TBaseTable* cursor = nullptr;
        EXPECT_EQ(engine->OpenTable(db, args, cursor), 0) << name;
        if (!cursor)
            throw std::runtime_error("no cursor on " + name);
        return cursor;
    }

    std::vector<Byte> record(TBaseTable* cursor) {
        return std::vector<Byte>(cursor->recordBufferSize(), 0);
    }

    // Field n of the record as text, as the engine hands it out.
    std::string text(TBaseTable* cursor, std::uint16_t field, Byte* row) {
        std::vector<Byte> value(300, 0);
        bool blank = false;
        EXPECT_EQ(engine->GetField(cursor, field, row, value.data(), blank), 0);
        return blank ? "<blank>" : std::string(reinterpret_cast<char*>(value.data()));
    }

    // Sets a text field from a buffer as long as the field, as the components do.
    Status put(TBaseTable* cursor, std::uint16_t field, Byte* row, const std::string& value) {
        std::vector<Byte> buffer(300, 0);
        std::memcpy(buffer.data(), value.data(), value.size());
        return engine->PutField(cursor, field, row, buffer.data());
    }

    template <typename T>
    T number(TBaseTable* cursor, std::uint16_t field, Byte* row) {
        Byte value[8] = {};
        bool blank = false;
        EXPECT_EQ(engine->GetField(cursor, field, row, value, blank), 0);
        T out{};
        std::memcpy(&out, value, sizeof out);
        return out;
    }

    // The records' first fields, walking from the start.
    std::vector<std::string> walk(TBaseTable* cursor, std::uint16_t field = 1) {
        std::vector<std::string> names;
        std::vector<Byte> row = record(cursor);
        engine->SetToBegin(cursor);
        while (engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr) == 0)
            names.push_back(text(cursor, field, row.data()));
        return names;
    }

    void close(TBaseTable*& cursor) { EXPECT_EQ(engine->CloseCursor(cursor), 0); }
};

double timestampOf(double daoDate) {
    return accesstype::timestampFromDate(daoDate);
}

} // namespace

TEST_F(AccessTableTest, RecordLayoutFollowsTheDaoTypes) {
    TBaseTable* cursor = table(database(corpusFile("jackcess/testV2000.mdb"), 1), "Table1", 1);
    std::vector<FieldDesc> fields;
    ASSERT_EQ(engine->GetFieldDescs(cursor, fields), 0);
    ASSERT_EQ(fields.size(), 9u);
    struct Expected {
        std::uint16_t type, length, offset;
        std::int16_t units;
        std::uint16_t daoType;
    };
    const Expected expected[] = {
        {fldtype::ZSTRING, 51, 0, 50, 10},  {fldtype::ZSTRING, 101, 51, 100, 10},
        {fldtype::INT16, 1, 152, 1, 2},     {fldtype::INT16, 2, 153, 2, 3},
        {fldtype::INT32, 4, 155, 4, 4},     {fldtype::FLOAT, 8, 159, 8, 7},
        {fldtype::TIMESTAMP, 8, 167, 8, 8}, {fldtype::FLOAT, 8, 175, 8, 5},
        {fldtype::BOOL, 2, 183, 2, 1},
    };
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(fields[i].type, expected[i].type) << i;
        EXPECT_EQ(fields[i].length, expected[i].length) << i;
        EXPECT_EQ(fields[i].offset, expected[i].offset) << i;
        EXPECT_EQ(fields[i].units1, expected[i].units) << i;
        EXPECT_EQ(fields[i].localType, expected[i].daoType) << i;
        EXPECT_EQ(fields[i].nullOffset, 185 + 1 + 8 * i) << "indicators follow the record";
        // Every column of the table is written, the indexed text columns too; the rights say
        // what the fields take, not what this read-only open allows.
        EXPECT_EQ(fields[i].rights, 0u) << i;
    }
    CursorProps props;
    ASSERT_EQ(engine->GetCursorProps(cursor, props), 0);
    EXPECT_EQ(props.recordSize, 185);
    EXPECT_EQ(props.bookmarkSize, 260);
    EXPECT_EQ(props.indexCount, 2);

    TBaseTable* blobs =
        table(database(corpusFile("jackcess/test2V2000.mdb"), 1), "MSP_PROJECTS", 1);
    ASSERT_EQ(engine->GetFieldDescs(blobs, fields), 0);
    auto byName = [&](const std::string& name) {
        return *std::find_if(fields.begin(), fields.end(),
                             [&](const FieldDesc& d) { return d.name == name; });
    };
    EXPECT_EQ(byName("PROJ_PROP_AUTHOR").type, fldtype::BLOB);
    EXPECT_EQ(byName("PROJ_PROP_AUTHOR").subType, 22);
    EXPECT_EQ(byName("PROJ_PROP_AUTHOR").length, 12);
    EXPECT_EQ(byName("RESERVED_BINARY_DATA").subType, 23);
    TBaseTable* guid = table(database(corpusFile("jackcess/testV2000.mdb"), 1), "Table4", 1);
    ASSERT_EQ(engine->GetFieldDescs(guid, fields), 0);
    EXPECT_EQ(fields[1].type, fldtype::BYTES);
    EXPECT_EQ(fields[1].units1, 16);
}

TEST_F(AccessTableTest, ValuesConvertBothWaysAndRefuseWhatDoesNotFit) {
    std::string file = scratch.copy("jackcess/testV2000.mdb");
    TBaseTable* cursor = table(database(file), "Table1");
    std::vector<Byte> row = record(cursor);
    ASSERT_EQ(engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr), 0);
    ASSERT_EQ(text(cursor, 1, row.data()), "a");
    ASSERT_EQ(engine->GetRecord(cursor, LockType::Write, row.data(), nullptr), 0);

    // Currency travels as a double and is kept as ten-thousandths.
    double amount = 12.3456;
    ASSERT_EQ(engine->PutField(cursor, 8, row.data(), reinterpret_cast<Byte*>(&amount)), 0);
    EXPECT_EQ(getI32(row.data(), 175), 123456);
    EXPECT_DOUBLE_EQ(number<double>(cursor, 8, row.data()), 12.3456);
    // A byte holds 0 to 255: 300 is refused and the field keeps its value.
    std::int16_t byte = 300;
    EXPECT_EQ(engine->PutField(cursor, 3, row.data(), reinterpret_cast<Byte*>(&byte)), 3349);
    EXPECT_EQ(row[152], 0);
    byte = 255;
    ASSERT_EQ(engine->PutField(cursor, 3, row.data(), reinterpret_cast<Byte*>(&byte)), 0);
    // A date before 30 December 1899 keeps its time: 29 December 1899, 6 a.m.
    double before = timestampOf(-1.25);
    EXPECT_DOUBLE_EQ(before, (693594 - 0.75) * msPerDay);
    ASSERT_EQ(engine->PutField(cursor, 7, row.data(), reinterpret_cast<Byte*>(&before)), 0);
    ASSERT_EQ(engine->ModifyRecord(cursor, row.data(), true), 0);

    // Day 0 of the calendar reads as no date at all.
    ASSERT_EQ(engine->GetNextRecord(cursor, LockType::Write, row.data(), nullptr), 0);
    double dayZero = 693594 * msPerDay;
    ASSERT_EQ(engine->PutField(cursor, 7, row.data(), reinterpret_cast<Byte*>(&dayZero)), 0);
    ASSERT_EQ(engine->ModifyRecord(cursor, row.data(), true), 0);
    ASSERT_EQ(engine->GetRecord(cursor, LockType::None, row.data(), nullptr), 0);
    EXPECT_EQ(text(cursor, 7, row.data()), "<blank>");
    close(cursor);

    std::vector<std::string> rows = exported(file, "Table1");
    EXPECT_EQ(rows[2].find("\"a\",\"b\",255,0,0,0,"), 0u) << rows[2];
    EXPECT_NE(rows[2].find(",12.3456,0"), std::string::npos) << rows[2];
    EXPECT_NE(rows[1].find("\"1899-12-30 00:00:00\""), std::string::npos) << rows[1];
    // DAO keeps the day before the calendar's start as -1.25 (-1 day, then 6 hours forward).
    cursor = table(database(file, 1), "Table1", 1);
    ASSERT_EQ(engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr), 0);
    EXPECT_EQ(static_cast<TAccessTable*>(cursor)->daoField(7).asDate(), -1.25);
    EXPECT_DOUBLE_EQ(number<double>(cursor, 7, row.data()), before);
}

TEST_F(AccessTableTest, AnAutonumberLeftAtZeroIsLeftToDao) {
    std::string file = scratch.copy("mdb-reader/V2000_no-password.mdb");
    std::vector<std::string> before = exported(file, "Table1");
    TBaseTable* cursor = table(database(file), "Table1");
    std::vector<Byte> row = record(cursor);
    ASSERT_EQ(engine->GetNextRecord(cursor, LockType::Write, row.data(), nullptr), 0);
    std::int32_t id = 0;
    ASSERT_EQ(engine->PutField(cursor, 1, row.data(), reinterpret_cast<Byte*>(&id)), 0);
    ASSERT_EQ(put(cursor, 2, row.data(), "changed"), 0);
    EXPECT_EQ(engine->ModifyRecord(cursor, row.data(), true), 0);

    // Any other number is a write DAO refuses (the field cannot be updated), and nothing is
    // written.
    ASSERT_EQ(engine->GetNextRecord(cursor, LockType::Write, row.data(), nullptr), 0);
    id = 99;
    ASSERT_EQ(engine->PutField(cursor, 1, row.data(), reinterpret_cast<Byte*>(&id)), 0);
    ASSERT_EQ(put(cursor, 2, row.data(), "changed"), 0);
    EXPECT_EQ(engine->ModifyRecord(cursor, row.data(), true), 3164);
    EXPECT_EQ(engine->RelRecordLock(cursor, false), 0);
    close(cursor);

    std::vector<std::string> after = exported(file, "Table1");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[1], before[1].substr(0, before[1].find(',')) + ",\"changed\"");
    EXPECT_EQ(after[2], before[2]);
}

TEST_F(AccessTableTest, MemosReadInPiecesAndEndWithTheEndOfBlob) {
    TBaseTable* cursor =
        table(database(scratch.copy("jackcess/fixedNumericTestV2000.mdb")), "test");
    std::vector<Byte> row = record(cursor);
    ASSERT_EQ(engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr), 0);
    ASSERT_EQ(engine->OpenBlob(cursor, row.data(), 1, 1), 0);
    EXPECT_EQ(engine->OpenBlob(cursor, row.data(), 1, 1), dbierr::BLOBOPENED);
    std::uint32_t size = 0;
    EXPECT_EQ(engine->GetBlobSize(cursor, row.data(), 1, size), 0);
    EXPECT_EQ(size, 9u); // "some data"
    char buffer[128] = {};
    std::uint32_t read = 0;
    EXPECT_EQ(engine->GetBlob(cursor, row.data(), 1, 4, 100, reinterpret_cast<Byte*>(buffer), read),
              dbierr::ENDOFBLOB);
    EXPECT_EQ(read, 5u);
    EXPECT_EQ(std::string(buffer, read), " data");
    EXPECT_EQ(engine->GetBlob(cursor, row.data(), 1, 0, 4, reinterpret_cast<Byte*>(buffer), read),
              0);
    EXPECT_EQ(std::string(buffer, read), "some");
    EXPECT_EQ(engine->GetBlob(cursor, row.data(), 1, 10, 1, reinterpret_cast<Byte*>(buffer), read),
              dbierr::INVALIDBLOBOFFSET);
    EXPECT_EQ(engine->PutBlob(cursor, row.data(), 1, 0, 1, reinterpret_cast<Byte*>(buffer)),
              dbierr::READONLYFLD);
    EXPECT_EQ(engine->FreeBlob(cursor, row.data(), 1), 0);
    EXPECT_EQ(engine->GetBlobSize(cursor, row.data(), 1, size), dbierr::BLOBNOTOPENED);
    EXPECT_EQ(engine->OpenBlob(cursor, row.data(), 2, 1), dbierr::NOTABLOB);

    // A memo written through the blob holds exactly what was written, and DAO stores it.
    ASSERT_EQ(engine->GetRecord(cursor, LockType::Write, row.data(), nullptr), 0);
    ASSERT_EQ(engine->OpenBlob(cursor, row.data(), 1, 0), 0);
    ASSERT_EQ(
        engine->PutBlob(cursor, row.data(), 1, 0, 10, reinterpret_cast<const Byte*>("0123456789")),
        0);
    EXPECT_EQ(engine->GetBlob(cursor, row.data(), 1, 4, 100, reinterpret_cast<Byte*>(buffer), read),
              dbierr::ENDOFBLOB);
    EXPECT_EQ(std::string(buffer, read), "456789");
    EXPECT_EQ(engine->ModifyRecord(cursor, row.data(), false), 0);
    EXPECT_EQ(engine->FreeBlob(cursor, row.data(), 1), 0);
    ASSERT_EQ(engine->GetRecord(cursor, LockType::None, row.data(), nullptr), 0);
    ASSERT_EQ(engine->OpenBlob(cursor, row.data(), 1, 1), 0);
    EXPECT_EQ(engine->GetBlob(cursor, row.data(), 1, 0, 100, reinterpret_cast<Byte*>(buffer), read),
              dbierr::ENDOFBLOB);
    EXPECT_EQ(std::string(buffer, read), "0123456789");
}

TEST_F(AccessTableTest, KeySearchesSeekOnTheCurrentIndex) {
    TBaseTable* cursor = table(database(corpusFile("jackcess/testIndexCodesV1997.mdb"), 1),
                               "Table12_asc_desc", 1, "DataIndex");
    // data1 ascending (blank first), data2 descending.
    EXPECT_EQ(walk(cursor), (std::vector<std::string>{"row1", "row8", "row3", "row5", "row7",
                                                      "row6", "row2", "row4", "row9", "row0"}));
    std::vector<Byte> row = record(cursor);
    std::vector<Byte> key = record(cursor);
    auto setKey = [&](const char* data1, const std::int32_t* data2) {
        engine->InitRecord(cursor, key.data());
        put(cursor, 2, key.data(), data1);
        if (data2)
            engine->PutField(cursor, 3, key.data(), reinterpret_cast<const Byte*>(data2));
    };
    auto found = [&](int condition, std::uint16_t fields, std::uint16_t length) {
        engine->SetToBegin(cursor);
        Status status =
            engine->GetRecordForKey(cursor, false, fields, length, key.data(), row.data());
        if (condition != 0) {
            std::memcpy(row.data(), key.data(), row.size());
            cursor->setToKey(condition, true, row.data(), nullptr, length, fields);
        }
        return status == 0 ? text(cursor, 1, row.data()) : "not found";
    };
    std::int32_t thirteen = 13;
    setKey("stuff", &thirteen);
    EXPECT_EQ(found(0, 0, 0), "row0");
    setKey("more", nullptr);
    EXPECT_EQ(found(0, 1, 0), "row2") << "a search on the leading field";
    setKey("so", nullptr);
    EXPECT_EQ(found(0, 0, 2), "row4") << "a partial text";
    setKey("st", nullptr);
    EXPECT_EQ(found(0, 0, 2), "row9");
    setKey("zz", nullptr);
    EXPECT_EQ(found(0, 0, 2), "not found");
    setKey("mo", nullptr);
    EXPECT_EQ(found(0, 1, 0), "not found") << "a whole field must match";

    auto searched = [&](int condition) {
        try {
            cursor->setToKey(condition, true, key.data(), nullptr, 0, 1);
        } catch (const ETorvaneEngineError& error) {
            return std::string("error ") + std::to_string(error.errorCode());
        }
        return text(cursor, 1, key.data());
    };
    setKey("more", nullptr);
    EXPECT_EQ(searched(searchcond::Gt), "row4");
    setKey("more", nullptr);
    EXPECT_EQ(searched(searchcond::Ge), "row2");
    setKey("more", nullptr);
    EXPECT_EQ(searched(searchcond::Le), "row2");
    setKey("more", nullptr);
    EXPECT_EQ(searched(searchcond::Lt), "row6");
    setKey("zz", nullptr);
    EXPECT_EQ(searched(searchcond::Le), "row0") << "no greater key: the last record";
    setKey("a", nullptr);
    EXPECT_EQ(searched(searchcond::Lt), "row5") << "blank keys come before any text";
    setKey("zz", nullptr);
    EXPECT_EQ(searched(searchcond::Gt), "error " + std::to_string(dbierr::RECNOTFOUND));

    // A range on the leading field, given as keys.
    std::vector<Byte> low = record(cursor), high = record(cursor);
    engine->InitRecord(cursor, low.data());
    put(cursor, 2, low.data(), "lots");
    engine->InitRecord(cursor, high.data());
    put(cursor, 2, high.data(), "some");
    ASSERT_EQ(engine->SetRange(cursor, true, 1, 0, low.data(), true, 1, 0, high.data(), true), 0);
    EXPECT_EQ(walk(cursor), (std::vector<std::string>{"row6", "row2", "row4"}));
    std::uint32_t count = 0;
    EXPECT_EQ(engine->GetRecordCount(cursor, count), 0);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(engine->ResetRange(cursor), 0);
    EXPECT_EQ(engine->GetRecordCount(cursor, count), 0);
    EXPECT_EQ(count, 10u);
}

TEST_F(AccessTableTest, BookmarksComeBackToTheirRecords) {
    TBaseTable* cursor = table(database(corpusFile("jackcess/indexTestV2000.mdb"), 1), "Table1", 1);
    std::vector<Byte> row = record(cursor);
    std::vector<Byte> second(260), fourth(260);
    engine->SetToBegin(cursor);
    engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr);
    engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr);
    ASSERT_EQ(engine->GetBookMark(cursor, second.data()), 0);
    EXPECT_EQ(getI32(second.data(), 4), 1) << "the primary key follows the DAO bookmark";
    engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr);
    engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr);
    ASSERT_EQ(engine->GetBookMark(cursor, fourth.data()), 0);
    int order = 0;
    EXPECT_EQ(engine->CompareBookmarks(cursor, second.data(), fourth.data(), order), 0);
    EXPECT_EQ(order, -1);
    ASSERT_EQ(engine->SetToBookmark(cursor, second.data()), 0);
    ASSERT_EQ(engine->GetRecord(cursor, LockType::None, row.data(), nullptr), 0);
    EXPECT_EQ(number<std::int32_t>(cursor, 1, row.data()), 1);
    ASSERT_EQ(engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr), 0);
    EXPECT_EQ(number<std::int32_t>(cursor, 1, row.data()), 2);

    // A bookmark DAO does not know is found again by its key.
    std::vector<Byte> stale = second;
    putU32(stale.data(), 0, 0x7FFFFF00);
    ASSERT_EQ(engine->SetToBookmark(cursor, stale.data()), 0);
    ASSERT_EQ(engine->GetRecord(cursor, LockType::None, row.data(), nullptr), 0);
    EXPECT_EQ(number<std::int32_t>(cursor, 1, row.data()), 1);
}

TEST_F(AccessTableTest, BackwardWalkMirrorsTheForwardOneAndEachEndIsReported) {
    TBaseTable* cursor = table(database(corpusFile("jackcess/testV2000.mdb"), 1), "Table1", 1);
    std::vector<Byte> row = record(cursor);
    auto walkFrom = [&](bool backward) {
        std::vector<std::string> names;
        backward ? engine->SetToEnd(cursor) : engine->SetToBegin(cursor);
        for (;;) {
            Status status =
                backward ? engine->GetPriorRecord(cursor, LockType::None, row.data(), nullptr)
                         : engine->GetNextRecord(cursor, LockType::None, row.data(), nullptr);
            if (status != 0) {
                EXPECT_EQ(status, backward ? dbierr::BOF : dbierr::EOF_);
                return names;
            }
            names.push_back(text(cursor, 1, row.data()));
        }
    };
    std::vector<std::string> forward = walkFrom(false);
    ASSERT_GT(forward.size(), 1u);
    std::vector<std::string> backward = walkFrom(true);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);
}

TEST_F(AccessTableTest, RecordsAreAddedAndDeleted) {
    std::string file = scratch.copy("jackcess/delTestV2000.mdb");
    TBaseTable* cursor = table(database(file), "Table");
    std::vector<Byte> row = record(cursor);
    std::vector<std::string> before = walk(cursor);
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(engine->InitRecord(cursor, row.data()), 0);
    put(cursor, 1, row.data(), "added");
    ASSERT_EQ(engine->InsertRecord(cursor, LockType::None, row.data()), 0);
    std::vector<Byte> current = record(cursor);
    ASSERT_EQ(engine->GetRecord(cursor, LockType::None, current.data(), nullptr), 0);
    EXPECT_EQ(text(cursor, 1, current.data()), "added") << "the cursor stands on the new record";
    EXPECT_EQ(text(cursor, 2, current.data()), "<blank>");

    // Deleting the last record moves to the first.
    ASSERT_EQ(engine->DeleteRecord(cursor, current.data()), 0);
    EXPECT_EQ(text(cursor, 1, current.data()), before[0]);
    close(cursor);
    EXPECT_EQ(exportedCount(file, "Table"), 2);

    // A table with a primary key takes a record with a key of its own, and refuses one whose
    // key it holds.
    std::string indexedFile = scratch.copy("jackcess/indexTestV2000.mdb");
    TBaseTable* indexed = table(database(indexedFile), "Table2");
    std::vector<Byte> keyed = record(indexed);
    ASSERT_EQ(engine->InitRecord(indexed, keyed.data()), 0);
    std::int32_t id = 99;
    ASSERT_EQ(engine->PutField(indexed, 1, keyed.data(), reinterpret_cast<Byte*>(&id)), 0);
    put(indexed, 2, keyed.data(), "keyed");
    EXPECT_EQ(engine->InsertRecord(indexed, LockType::None, keyed.data()), 0);
    ASSERT_EQ(engine->InitRecord(indexed, keyed.data()), 0);
    ASSERT_EQ(engine->PutField(indexed, 1, keyed.data(), reinterpret_cast<Byte*>(&id)), 0);
    EXPECT_EQ(engine->InsertRecord(indexed, LockType::None, keyed.data()), 3022);
    close(indexed);
    EXPECT_EQ(exportedCount(indexedFile, "Table2"), 4);
}

TEST_F(AccessTableTest, TransactionsDecideWhatReachesTheFile) {
    std::string file = scratch.copy("jackcess/delTestV2000.mdb");
    std::vector<std::string> original = exported(file, "Table");
    TBaseDatabase* db = database(file);
    TBaseTable* cursor = table(db, "Table");
    std::vector<Byte> row = record(cursor);
    auto change = [&](const char* value) {
        engine->SetToBegin(cursor);
        ASSERT_EQ(engine->GetNextRecord(cursor, LockType::Write, row.data(), nullptr), 0);
        put(cursor, 2, row.data(), value);
        ASSERT_EQ(engine->ModifyRecord(cursor, row.data(), true), 0);
    };
    db->beginTran();
    change("rolled back");
    db->endTran(2);
    close(cursor);
    EXPECT_EQ(exported(file, "Table"), original);

    cursor = table(db, "Table");
    db->beginTran();
    change("kept");
    db->endTran(0);
    EXPECT_NE(exported(file, "Table")[1].find("\"kept\""), std::string::npos);
    close(cursor);
}

TEST_F(AccessTableTest, CatalogueListsTheDatabase) {
    TBaseDatabase* db = database(corpusFile("jackcess/empty.mdb"), 1);
    auto names = [&](bool system) {
        TBaseTable* list = nullptr;
        EXPECT_EQ(engine->OpenTableList(db, false, "", system, list), 0);
        std::vector<std::string> out;
        std::vector<Byte> row(574);
        while (engine->GetNextRecord(list, LockType::None, row.data(), nullptr) == 0)
            out.push_back(getText(row.data(), 0, 261));
        engine->CloseCursor(list);
        return out;
    };
    EXPECT_TRUE(names(false).empty());
    std::vector<std::string> system = names(true);
    EXPECT_FALSE(system.empty());
    for (const std::string& name : system)
        EXPECT_EQ(name.rfind("MSys", 0), 0u) << name;

    TBaseDatabase* indexed = database(corpusFile("jackcess/indexTestV2000.mdb"), 1);
    TBaseTable* cursor = table(indexed, "Table1", 1);
    std::vector<IndexDesc> indexes;
    ASSERT_EQ(engine->GetIndexDescs(cursor, indexes), 0);
    ASSERT_EQ(indexes.size(), 4u);
    EXPECT_EQ(indexes[1].name, "PrimaryKey");
    EXPECT_EQ(indexes[1].primary, 1);
    EXPECT_EQ(indexes[1].keyFieldCount, 1);
    EXPECT_EQ(indexes[1].keyFields[0], 1);
    EXPECT_EQ(indexes[2].keyFields[0], 2) << "otherfk1";
    IndexDesc current;
    ASSERT_EQ(engine->GetIndexDesc(cursor, 0, current), 0);
    EXPECT_EQ(current.name, "PrimaryKey") << "the table opened on its primary key";

    // A table without a primary key opens without an index, and says so.
    TBaseTable* plain =
        table(database(corpusFile("jackcess/compIndexTestV2000.mdb"), 1), "Table1", 1);
    ASSERT_EQ(engine->GetIndexDesc(plain, 0, current), 0);
    EXPECT_EQ(current.keyFieldCount, 0);
    ASSERT_EQ(engine->GetIndexDesc(plain, 1, current), 0);
    EXPECT_EQ(current.name, "CD_AGENTE");
    EXPECT_EQ(current.descending, 1);

    TBaseTable* fields = nullptr;
    ASSERT_EQ(engine->OpenFieldList(indexed, "Table2", "", false, fields), 0);
    std::vector<Byte> row(FieldDesc::Size);
    std::vector<std::string> described;
    while (engine->GetNextRecord(fields, LockType::None, row.data(), nullptr) == 0) {
        FieldDesc desc = FieldDesc::unpack(row.data());
        described.push_back(desc.name + ":" + std::to_string(desc.rights));
    }
    EXPECT_EQ(described, (std::vector<std::string>{"id:0", "data:0"}))
        << "the primary key's column is written too";

    TBaseDatabase* queries = database(corpusFile("jackcess/queryTestV2000.mdb"), 1);
    TBaseTable* procedures = nullptr;
    ASSERT_EQ(queries->openStoredProcList() != nullptr, true);
    procedures = queries->openStoredProcList();
    std::vector<std::string> stored;
    std::vector<Byte> entry(73);
    try {
        for (;;) {
            procedures->getNextRecord(LockType::None, entry.data(), nullptr);
            stored.push_back(getText(entry.data(), 0, 65));
        }
    } catch (const ETorvaneEOFError&) {
    }
    std::vector<std::string> expected =
        lines(runCommand("mdb-queries -1 '" + corpusFile("jackcess/queryTestV2000.mdb") + "'"));
    std::sort(stored.begin(), stored.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(stored, expected);
    EXPECT_THROW(queries->openStoredProcParamList("NoSuchQuery"), ETorvaneEngineError);
    // Parameters take their units by DAO type: a text parameter has none.
    TBaseTable* parameters = queries->openStoredProcParamList("updatequery");
    std::vector<Byte> parameter(52);
    parameters->getNextRecord(LockType::None, parameter.data(), nullptr);
    EXPECT_EQ(getU16(parameter.data(), 0), 1);
    EXPECT_EQ(getText(parameter.data(), 2, 32), "User Name");
    EXPECT_EQ(getU32(parameter.data(), 34), 1u) << "an input parameter";
    EXPECT_EQ(getU16(parameter.data(), 38), fldtype::ZSTRING);
    EXPECT_EQ(getU16(parameter.data(), 42), 0);
    EXPECT_EQ(getU16(parameter.data(), 48), 0);
    EXPECT_THROW(parameters->getNextRecord(LockType::None, parameter.data(), nullptr),
                 ETorvaneEOFError);
}

TEST_F(AccessTableTest, StatementsWriteTheirParametersAsLiterals) {
    EngineParams params;
    params.add("", "");
    params.add("", "");
    params.add("", "");
    std::vector<Byte> values(64, 0);
    params.descs[0].type = fldtype::ZSTRING;
    params.descs[0].offset = 0;
    params.descs[0].length = 21;
    std::memcpy(values.data(), "say \"hi\"", 8);
    params.descs[1].type = fldtype::TIMESTAMP;
    params.descs[1].offset = 24;
    double when = timestampOf(38037.5); // 20 February 2004, noon
    std::memcpy(values.data() + 24, &when, 8);
    params.descs[2].type = fldtype::BCD; // not written as a literal
    EXPECT_EQ(
        TAccessSqlStmt::withParameters("SELECT * FROM t WHERE a = ? AND b = ? AND c = ?", params,
                                       values.data()),
        "SELECT * FROM t WHERE a = \"say \"\"hi\"\"\" AND b = #2/20/2004 12:00:00# AND c = ?");

    TBaseDatabase* db = database(corpusFile("jackcess/testV2000.mdb"), 1);
    TSqlStmt* statement = db->allocStatement(2);
    db->prepareSQL(statement, "SELECT * FROM Table1 WHERE A LIKE 'a%'");
    EXPECT_EQ(statement->sqlText(), "SELECT * FROM Table1 WHERE A LIKE 'a*'");
    std::unique_ptr<TBaseTable> result(statement->execute(true));
    ASSERT_TRUE(result);
    std::uint32_t count = 0;
    result->getRecordCount(count);
    EXPECT_EQ(count, 2u) << "'abcdefg' and 'a'";
    try {
        db->emptyTable(nullptr, "Table1");
        FAIL();
    } catch (const ETorvaneEngineError& error) {
        EXPECT_EQ(error.errorCode(), 3027) << "the database is open read-only";
    }
    TBaseDatabase* writable = database(scratch.copy("jackcess/overflowTestV2000.mdb"));
    writable->emptyTable(nullptr, "Table1");
    std::unique_ptr<TBaseTable> emptied(writable->executeSQL(2, "SELECT * FROM Table1", true));
    std::uint32_t left = 1;
    emptied->getRecordCount(left);
    EXPECT_EQ(left, 0u) << "emptying a table deletes its records";
    TBaseTable* none = nullptr;
    EXPECT_EQ(engine->OpenTable(db, {}, none), dbierr::NOSUCHTABLE);
    EXPECT_THROW(db->prepareStoredProc("NoSuchQuery"), ETorvaneEOFError);
    TBaseDatabase* queries = database(corpusFile("jackcess/queryTestV2000.mdb"), 1);
    std::unique_ptr<TSqlStmt> update(queries->prepareStoredProc("UpdateQuery"));
    EngineParams user;
    user.add("", "");
    user.descs[0].type = fldtype::ZSTRING;
    user.descs[0].length = 21;
    std::vector<Byte> name(21, 0);
    std::memcpy(name.data(), "ann", 3);
    EXPECT_NO_THROW(update->setParams(user, name.data()));
    try {
        update->execute(false);
        FAIL();
    } catch (const ETorvaneEngineError& error) {
        EXPECT_EQ(error.errorCode(), 3061) << "it sets columns of a table it does not name";
    }
    try {
        db->executeSQL(1, "SELECT 1", false);
        FAIL();
    } catch (const ETorvaneEngineError& error) {
        EXPECT_EQ(error.errorCode(), dbierr::INVALIDPARAM);
    }
}
