#include "tests/accessdb/TestCursor.h"

#include "tests/accessdb/ScriptedRegistry.h"

#include <gtest/gtest.h>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

struct CursorTest : ::testing::Test {
    TestCursor cursor{fivePeople()};
    std::vector<Byte> record = std::vector<Byte>(cursor.recordBufferSize());

    std::int32_t next() {
        cursor.getNextRecord(LockType::None, record.data(), nullptr);
        return idOf(record.data());
    }
    std::int32_t prior() {
        cursor.getPriorRecord(LockType::None, record.data(), nullptr);
        return idOf(record.data());
    }
    Status statusOf(auto&& call) {
        try {
            call();
        } catch (const ETorvaneEngineError& e) {
            return e.errorCode();
        }
        return 0;
    }
};

} // namespace

TEST_F(CursorTest, WalksForwardAndBackToTheBoundaries) {
    cursor.openCursor();
    EXPECT_EQ(cursor.recordBufferSize(), 27 + 1 + 3 * 8);
    for (std::int32_t id : {10, 20, 30, 40, 50})
        EXPECT_EQ(next(), id);
    EXPECT_THROW(next(), ETorvaneEOFError);

    cursor.setToEnd();
    for (std::int32_t id : {50, 40, 30, 20, 10})
        EXPECT_EQ(prior(), id);
    EXPECT_THROW(prior(), ETorvaneBOFError);

    cursor.setToBegin();
    EXPECT_THROW(prior(), ETorvaneBOFError); // nothing before the beginning crack
}

TEST_F(CursorTest, GetRecordAnswersByPosition) {
    EXPECT_EQ(statusOf([&] { cursor.getRecord(LockType::None, record.data(), nullptr); }),
              dbierr::NOCURRREC);
    cursor.openCursor();
    next();
    next();
    record.assign(record.size(), 0);
    cursor.getRecord(LockType::None, record.data(), nullptr);
    EXPECT_EQ(idOf(record.data()), 20);

    // At the beginning the end-of-table error comes, at the end the beginning one.
    cursor.setToBegin();
    EXPECT_THROW(cursor.getRecord(LockType::None, record.data(), nullptr), ETorvaneEOFError);
    cursor.setToEnd();
    EXPECT_THROW(cursor.getRecord(LockType::None, record.data(), nullptr), ETorvaneBOFError);

    // On a crack the next record is read.
    cursor.setToBegin();
    next();
    next();
    cursor.setProp(20, 0);
    cursor.getRecord(LockType::None, record.data(), nullptr);
    EXPECT_EQ(idOf(record.data()), 30);
}

TEST_F(CursorTest, RelativeMovesLockOnlyTheLastRecord) {
    cursor.openCursor();
    for (int i = 0; i < 5; ++i)
        next();
    EXPECT_EQ(
        statusOf([&] { cursor.getRelativeRecord(0, LockType::None, nullptr, record.data()); }),
        dbierr::INVALIDPARAM);
    cursor.locks.clear();
    cursor.getRelativeRecord(-3, LockType::Write, nullptr, record.data());
    EXPECT_EQ(idOf(record.data()), 20);
    EXPECT_EQ(cursor.locks, std::vector<LockType>{LockType::Write});
    cursor.getRelativeRecord(2, LockType::None, nullptr, record.data());
    EXPECT_EQ(idOf(record.data()), 40);
}

TEST_F(CursorTest, CountingRestoresThePositionAndLetsTheInterfaceBreathe) {
    int pumps = 0;
    EngineRoot engine({.processMessages = [&] { ++pumps; }});
    std::vector<Row> many;
    for (int i = 1; i <= 40; ++i)
        many.push_back({i, "x"});
    TestCursor big(many, nullptr, &engine);
    std::vector<Byte> buffer(big.recordBufferSize());
    big.openCursor();
    big.getNextRecord(LockType::None, buffer.data(), nullptr);
    big.getNextRecord(LockType::None, buffer.data(), nullptr);
    std::uint32_t count = 0;
    big.getRecordCount(count);
    EXPECT_EQ(count, 40u);
    EXPECT_EQ(pumps, 2);
    big.getRecord(LockType::None, buffer.data(), nullptr);
    EXPECT_EQ(idOf(buffer.data()), 2);

    TestCursor empty({});
    empty.openCursor();
    empty.getRecordCount(count);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(empty.positionState(), PositionState::AtBeginning);
}

TEST_F(CursorTest, ReadBlockStopsAtTheEnd) {
    cursor.openCursor();
    next();
    std::size_t slot = cursor.recordBufferSize();
    std::vector<Byte> block(slot * 10);
    std::uint32_t count = 10;
    cursor.readBlock(count, block.data());
    ASSERT_EQ(count, 4u);
    EXPECT_EQ(idOf(block.data()), 20);
    EXPECT_EQ(idOf(block.data() + 3 * slot), 50);
    EXPECT_EQ(statusOf([&] { cursor.readBlock(count, nullptr); }), dbierr::INVALIDPARAM);
}

TEST_F(CursorTest, RangesBoundTheWalk) {
    cursor.openCursor();
    Byte low[4];
    Byte high[4];
    putI32(low, 0, 20);
    putI32(high, 0, 40);
    cursor.setRange(false, 1, 0, low, false, 1, 0, high, true);
    std::vector<std::int32_t> seen;
    try {
        for (;;)
            seen.push_back(next());
    } catch (const ETorvaneBoundryError&) {
    }
    EXPECT_EQ(seen, (std::vector<std::int32_t>{30, 40}));

    cursor.setRange(false, 1, 0, low, true, 1, 0, high, false);
    cursor.setToEnd();
    seen.clear();
    try {
        for (;;)
            seen.push_back(prior());
    } catch (const ETorvaneBoundryError&) {
    }
    EXPECT_EQ(seen, (std::vector<std::int32_t>{30, 20}));

    // A bound whose key fields are all blank is not set.
    Byte blank[4] = {0, 0, 0, 0};
    cursor.setRange(false, 0, 0, blank, true, 0, 0, nullptr, true);
    EXPECT_FALSE(cursor.hasRange());
    cursor.resetRange();
    cursor.setToBegin();
    EXPECT_EQ(next(), 10);
}

TEST_F(CursorTest, KeyComparisons) {
    Byte one[1] = {1};
    Byte full[1] = {255};
    Byte zero[1] = {0};
    EXPECT_EQ(compareFieldValues(fldtype::BOOL, one, full, false, 1), 0);
    EXPECT_NE(compareFieldValues(fldtype::BOOL, zero, one, false, 1), 0);
    Byte minus[2] = {0xFF, 0xFF};
    Byte two[2] = {2, 0};
    EXPECT_EQ(compareFieldValues(fldtype::INT16, two, minus, false, 2), -1);
    EXPECT_EQ(compareFieldValues(fldtype::UINT16, two, minus, false, 2), 1);
    EXPECT_EQ(compareFieldValues(fldtype::ZSTRING, reinterpret_cast<const Byte*>("ABC"),
                                 reinterpret_cast<const Byte*>("abd"), true, 3),
              1);

    Byte k1[4];
    Byte k2[4];
    putI32(k1, 0, 7);
    putI32(k2, 0, 9);
    int result = 0;
    cursor.compareKeys(k1, k2, result, 0, 0);
    EXPECT_EQ(result, -1);
    cursor.setDescendingKey(true);
    cursor.compareKeys(k1, k2, result, 0, 0);
    EXPECT_EQ(result, 1);
    EXPECT_THROW(cursor.compareKeys(k1, k2, result, 17, 0), ERangeError);
    try {
        cursor.compareKeys(nullptr, k2, result, 0, 0);
        FAIL();
    } catch (const ETorvaneEngineError& e) {
        EXPECT_EQ(e.errorCode(), dbierr::INVALIDPARAM);
    }
}

TEST_F(CursorTest, FieldsGoThroughTheCacheAndIndicators) {
    cursor.initRecord(record.data());
    bool blank = false;
    cursor.getField(TestCursor::NameField, record.data(), nullptr, blank);
    EXPECT_TRUE(blank);
    const char name[21] = "Zed";
    cursor.putField(TestCursor::NameField, record.data(), reinterpret_cast<const Byte*>(name));
    char out[21] = {};
    cursor.getField(TestCursor::NameField, record.data(), reinterpret_cast<Byte*>(out), blank);
    EXPECT_FALSE(blank);
    EXPECT_STREQ(out, "Zed");
    EXPECT_TRUE(cursor.fieldCache().items(TestCursor::NameField).isChanged());
    EXPECT_FALSE(cursor.fieldCache().items(TestCursor::IdField).isChanged());

    FieldDesc desc;
    cursor.getFieldDescByOffset(5, 21, desc);
    EXPECT_EQ(desc.name, "NAME");
    try {
        cursor.getFieldDescByOffset(99, 1, desc);
        FAIL();
    } catch (const ETorvaneEngineError& e) {
        EXPECT_EQ(e.errorCode(), dbierr::INVALIDRECSTRUCT);
        EXPECT_EQ(e.errorText(), "Table: PEOPLE");
    }
    EXPECT_EQ(cursor.fieldCache().indexOfName("name"), TestCursor::NameField);
    EXPECT_EQ(cursor.fieldCache().indexOfName("zip"), 0);
    EXPECT_THROW(cursor.fieldCache().items(9), ETorvaneEngineError); // the driver cannot tell
}

TEST_F(CursorTest, PropertiesAndCursorRecord) {
    std::uint16_t size = 0;
    Byte buffer[8] = {};
    cursor.getProp(0, buffer, size, 8);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(getU16(buffer, 0), 20);
    EXPECT_EQ(statusOf([&] { cursor.getProp(77, buffer, size, 8); }), dbierr::NOTSUPPORTED);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(statusOf([&] { cursor.checkProp(1, 0); }), dbierr::NOTSUPPORTED);

    CursorProps props;
    cursor.getCursorProps(props);
    EXPECT_EQ(props.fieldCount, 3);
    EXPECT_EQ(props.recordSize, 27);
    EXPECT_EQ(props.recordBufferSize, 52);
    EXPECT_EQ(props.bookmarkSize, 4);
    EXPECT_EQ(props.rights, 255u);
    EXPECT_EQ(props.active, -1);
    std::vector<Byte> packed(CursorProps::Size);
    props.pack(packed.data());
    EXPECT_EQ(getU16(packed.data(), 295), 3);
    EXPECT_EQ(getI16(packed.data(), 323), -1);
}
