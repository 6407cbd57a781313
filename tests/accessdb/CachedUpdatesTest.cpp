#include "tests/accessdb/TestCursor.h"
#include "tests/accessdb/TestDataSet.h"

#include "accessdb/engine/TBaseCacheTable.h"
#include "accessdb/engine/TMemTable.h"

#include <gtest/gtest.h>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

std::vector<FieldDesc> twoFields() {
    return {fieldDesc("ID", fldtype::INT32), fieldDesc("NAME", fldtype::ZSTRING, 10)};
}

std::vector<Byte> memRow(std::int32_t id, const char* name) {
    std::vector<Byte> row(15, 0);
    putI32(row.data(), 0, id);
    putText(row.data(), 4, 11, name);
    return row;
}

struct CacheTest : ::testing::Test {
    TestCursor source{fivePeople()};
    std::unique_ptr<TBaseCacheTable> cache;
    std::vector<Byte> record;

    CacheTest() {
        source.openCursor();
        cache.reset(source.beginDelayedUpdates());
        record.resize(source.recordBufferSize());
    }
    // Positions the cache on the record with the id and returns its buffer.
    Byte* at(std::int32_t id) {
        cache->setToBegin();
        do
            cache->getNextRecord(LockType::None, record.data(), nullptr);
        while (idOf(record.data()) != id);
        return record.data();
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        cache->setToBegin();
        try {
            for (;;) {
                cache->getNextRecord(LockType::None, record.data(), nullptr);
                out.emplace_back(reinterpret_cast<const char*>(record.data() + 4));
            }
        } catch (const ETorvaneBoundryError&) {
        }
        return out;
    }
    void rename(std::int32_t id, const char* name) {
        Byte* row = at(id);
        putText(row, 4, 21, name);
        cache->modifyRecord(row, true);
    }
};

} // namespace

TEST(MemTable, FreeStandingTableKeepsRecordsInBookmarkOrder) {
    TMemTable table(nullptr, nullptr, twoFields(), 0, "T", nullptr);
    EXPECT_EQ(table.recordSize(), 15);
    for (auto [id, name] : {std::pair{1, "a"}, {2, "b"}, {3, "c"}}) {
        auto row = memRow(id, name);
        table.appendRecord(row.data());
    }
    std::vector<Byte> bookmark(4);
    std::vector<Byte> buffer(15);
    table.setToBegin();
    for (std::uint32_t expected = 1; expected <= 3; ++expected) {
        table.getNextRecord(LockType::None, buffer.data(), nullptr);
        table.getBookmark(bookmark.data());
        EXPECT_EQ(getU32(bookmark.data(), 0), expected);
        EXPECT_EQ(getI32(buffer.data(), 0), static_cast<std::int32_t>(expected));
    }
    EXPECT_THROW(table.getNextRecord(LockType::None, buffer.data(), nullptr), ETorvaneEOFError);

    // Deleting puts the cursor on a crack from which the walk goes on both ways.
    table.setToBegin();
    table.getNextRecord(LockType::None, buffer.data(), nullptr);
    table.getNextRecord(LockType::None, buffer.data(), nullptr);
    table.deleteRecord(nullptr);
    table.getNextRecord(LockType::None, buffer.data(), nullptr);
    EXPECT_EQ(getI32(buffer.data(), 0), 3);
    table.getPriorRecord(LockType::None, buffer.data(), nullptr);
    EXPECT_EQ(getI32(buffer.data(), 0), 1);
    std::uint32_t count = 0;
    table.getRecordCount(count);
    EXPECT_EQ(count, 2u);

    // A record is positioned by its bookmark; a missing one is the end of the table.
    putU32(bookmark.data(), 0, 3);
    table.getRecordAtBookmark(bookmark.data(), LockType::None, buffer.data());
    EXPECT_EQ(getI32(buffer.data(), 0), 3);
    putU32(bookmark.data(), 0, 2);
    EXPECT_THROW(table.setToBookmark(bookmark.data()), ETorvaneEOFError);
}

TEST_F(CacheTest, ModifyingTwiceLeavesOnePendingRecordWithTheLastData) {
    rename(20, "Bo");
    rename(20, "Robert");
    EXPECT_EQ(cache->pending()->recordCount(), 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Robert", "Cy", "Dee", "Eve"}));
    EXPECT_EQ(source.rows()[1].name, "Bob"); // nothing written yet

    // Raw reads give the source's data for changed records.
    cache->setProp(TBaseCacheTable::RawReadProp, 1);
    EXPECT_EQ(names()[1], "Bob");
    Byte count[4];
    std::uint16_t size = 0;
    cache->getProp(TBaseCacheTable::PendingCountProp, count, size, 4);
    EXPECT_EQ(getU32(count, 0), 1u);
}

TEST_F(CacheTest, DeletesAreHiddenUnlessTheShowFlagsAskForThem) {
    at(30);
    cache->deleteRecord(nullptr);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob", "Dee", "Eve"}));
    cache->setProp(TBaseCacheTable::ShowFlagsProp, 15);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob", "Cy", "Dee", "Eve"}));
    cache->setProp(TBaseCacheTable::ShowFlagsProp, 11);
    at(40);
    EXPECT_EQ(idOf(record.data()), 40);
    EXPECT_EQ(source.deletes, 0);
}

TEST_F(CacheTest, ApplyingWritesEachChangeOnceAndKeepsRefusedOnesPending) {
    rename(10, "Anne");
    rename(40, "Dora");
    at(50);
    cache->deleteRecord(nullptr);
    source.refusedId = 40;
    try {
        cache->applyDelayedUpdates(3);
        FAIL() << "a refused record must be reported";
    } catch (const ETorvaneEngineError& e) {
        EXPECT_EQ(e.errorCode(), 0x2601);
    }
    EXPECT_EQ(source.modifications, 1);
    EXPECT_EQ(source.deletes, 1);
    EXPECT_EQ(source.rows()[0].name, "Anne");

    source.refusedId = -1;
    cache->applyDelayedUpdates(3);
    EXPECT_EQ(source.modifications, 2); // only the refused one again
    EXPECT_EQ(source.deletes, 1);
    EXPECT_EQ(source.rows()[3].name, "Dora");
    cache->applyDelayedUpdates(3);
    EXPECT_EQ(source.modifications, 2);

    cache->applyDelayedUpdates(0);
    EXPECT_EQ(cache->pending()->recordCount(), 0);
}

// A delayed-update callback decides about each change: it sees the record before and after
// the change, may apply it itself, leave it pending, stop, or try a refused one again.
TEST_F(CacheTest, TheDelayedUpdateCallbackDecidesAboutEachChange) {
    rename(10, "Anne");
    rename(20, "Bobby");
    rename(40, "Dora");
    at(50);
    cache->deleteRecord(nullptr);
    struct Seen {
        std::vector<std::string> changes;
        int retries = 0;
        TestCursor* source = nullptr;
    } seen{{}, 0, &source};
    auto decide = [](std::uintptr_t data, void* raw) -> std::int32_t {
        auto& seen = *reinterpret_cast<Seen*>(data);
        auto& info = *static_cast<DelayedUpdateInfo*>(raw);
        std::string before = reinterpret_cast<const char*>(info.oldRecord + 4);
        std::string after = reinterpret_cast<const char*>(info.newRecord + 4);
        seen.changes.push_back(std::to_string(info.kind) + " " + before + ">" + after +
                               (info.error ? " refused" : ""));
        if (info.error) {
            seen.source->refusedId = -1;
            return ++seen.retries == 1 ? delayedupdate::Retry : delayedupdate::Fail;
        }
        if (after == "Anne")
            return delayedupdate::Applied;
        return after == "Bobby" ? delayedupdate::Skip : delayedupdate::Apply;
    };
    cache->registerCallBack(
        {DelayedUpdateCallback, reinterpret_cast<std::uintptr_t>(&seen), nullptr, decide});
    source.refusedId = 40;
    cache->applyDelayedUpdates(3);
    EXPECT_EQ(seen.changes,
              (std::vector<std::string>{"3 Eve>Eve", "1 Dee>Dora", "1 Dee>Dora refused",
                                        "1 Bob>Bobby", "1 Ann>Anne"}))
        << "from the last change to the first";
    EXPECT_EQ(source.deletes, 1);
    EXPECT_EQ(source.rows()[3].name, "Dora") << "applied on the second try";
    EXPECT_EQ(source.rows()[0].name, "Ann") << "the callback applied it itself";
    EXPECT_EQ(source.rows()[1].name, "Bob") << "skipped";
    EXPECT_EQ(cache->getCallBack(DelayedUpdateCallback).function, decide);
    EXPECT_EQ(cache->tagArea(), source.tagArea()) << "the client's tag stays with the table";
    cache->registerCallBack({DelayedUpdateCallback, 0, nullptr, nullptr});
    EXPECT_THROW(cache->getCallBack(DelayedUpdateCallback), ETorvaneEngineError);
    cache->applyDelayedUpdates(3);
    EXPECT_EQ(source.rows()[1].name, "Bobby") << "the skipped change stayed pending";
}

TEST_F(CacheTest, EndingGivesBackTheWrappedCursor) {
    TBaseTable* cursor = cache.release();
    EXPECT_THROW(cursor->beginDelayedUpdates(), ETorvaneEngineError);
    EXPECT_THROW(cursor->switchToIndex("X", "", 0, false), ETorvaneEngineError);
    cursor->endDelayedUpdates(cursor);
    EXPECT_EQ(cursor, &source);
}

TEST_F(CacheTest, InsertsWaitInThePendingTableUntilApplied) {
    std::vector<Byte> row(source.recordBufferSize(), 0);
    source.fill(row.data(), {60, "Fay"});
    cache->appendRecord(row.data());
    EXPECT_EQ(cache->pending()->recordCount(), 1);
    EXPECT_EQ(names().size(), 5u); // the walk shows the real cursor's records
    cache->applyDelayedUpdates(3);
    EXPECT_EQ(source.appends, 1);
    EXPECT_EQ(source.rows().back().name, "Fay");

    // Discarding the change at the cursor's position forgets just that one.
    rename(20, "Bo");
    rename(30, "C");
    at(20);
    cache->applyDelayedUpdates(2);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob", "C", "Dee", "Eve", "Fay"}));
}

TEST(MemTable, SequenceNumbersAndUndelete) {
    TMemTable table(nullptr, nullptr, {fieldDesc("ID", fldtype::INT32)}, 0, "T", nullptr);
    for (std::int32_t i = 1; i <= 3; ++i) {
        Byte row[4];
        putI32(row, 0, i);
        table.appendRecord(row);
        table.recordAt(i)->props.seqNumber = static_cast<std::uint32_t>(i * 10);
    }
    table.setToSeqNo(20);
    std::uint32_t position = 0;
    table.getSequencePosition(position);
    EXPECT_EQ(position, 20u);
    EXPECT_THROW(table.setToSeqNo(99), ETorvaneEOFError);
    Byte bookmark[4];
    putU32(bookmark, 0, 2);
    table.deleteRecordAt(nullptr, bookmark);
    EXPECT_EQ(table.currentRecord()->props.deleteFlag, -1);
    table.undeleteRecord();
    EXPECT_EQ(table.currentRecord()->props.deleteFlag, 0);
    table.emptyTableExclusive();
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_THROW(table.undeleteRecord(), ETorvaneEngineError);
}
