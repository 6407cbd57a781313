// Times the engine's cursor core on a driver cursor over 100,000 in-memory records, against
// a plain loop over the same records.

#include "tests/accessdb/TestCursor.h"
#include "tests/accessdb/TestDataSet.h"
#include "tests/accessdb/TestDriver.h"

#include "accessdb/engine/FilterBlobBuilder.h"
#include "accessdb/engine/TBaseCacheTable.h"
#include "accessdb/engine/TMemTable.h"

#include <cstdio>
#include <ctime>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

double cpuMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

constexpr int kRecords = 100000;

std::size_t walk(TestCursor& cursor) {
    std::vector<Byte> record(cursor.recordBufferSize());
    std::size_t seen = 0;
    cursor.setToBegin();
    try {
        for (;;) {
            cursor.getNextRecord(LockType::None, record.data(), nullptr);
            ++seen;
        }
    } catch (const ETorvaneBoundryError&) {
    }
    return seen;
}

void benchDataSet(TVirtEng& engine, TBaseDatabase* db) {
    TBaseTable* mem = db->createInMemTable(
        "LIST", {fieldDesc("NAME", fldtype::ZSTRING, 20), fieldDesc("ZIP", fldtype::INT32),
                 fieldDesc("CITY", fldtype::ZSTRING, 20), fieldDesc("SORT", fldtype::ZSTRING, 8)});
    std::vector<Byte> row(mem->recordBufferSize());
    for (int i = 0; i < kRecords; ++i) {
        putText(row.data(), 0, 21, "Someone " + std::to_string(i));
        putI32(row.data(), 21, 10000 + i % 89999);
        putText(row.data(), 25, 21, "Dallas");
        mem->appendRecord(row.data());
    }

    // Baseline: the same rows and fields through the call interface alone.
    double t0 = cpuMs();
    std::size_t bytes = 0;
    std::vector<Byte> value(32);
    engine.SetToBegin(mem);
    while (engine.GetNextRecord(mem, LockType::None, row.data(), nullptr) == 0) {
        for (std::uint16_t f = 1; f <= 4; ++f) {
            bool blank = false;
            engine.GetField(mem, f, row.data(), value.data(), blank);
            bytes += value[0];
        }
    }
    double raw = cpuMs() - t0;

    // Baseline for the edits: lock, four puts and a modify per row through the interface.
    t0 = cpuMs();
    engine.SetToBegin(mem);
    std::vector<Byte> text(21, 0);
    while (engine.GetNextRecord(mem, LockType::None, row.data(), nullptr) == 0) {
        engine.GetRecord(mem, LockType::Write, row.data(), nullptr);
        for (std::uint16_t f = 1; f <= 4; ++f)
            engine.PutField(mem, f, row.data(), text.data());
        engine.ModifyRecord(mem, row.data(), true);
    }
    double rawEdits = cpuMs() - t0;

    CursorDataSet dataSet(engine, mem);
    dataSet.open();
    t0 = cpuMs();
    for (dataSet.first(); !dataSet.eof(); dataSet.next())
        for (int f = 0; f < 4; ++f)
            bytes += dataSet.fields(f).asString().size();
    double walk = cpuMs() - t0;

    const std::string sort = "0000123";
    const std::string city = "Austin";
    const std::string zipText = "75201";
    const std::string name = "Renamed";
    t0 = cpuMs();
    int n = 0;
    for (dataSet.first(); !dataSet.eof(); dataSet.next()) {
        dataSet.edit();
        dataSet.fieldByName("SORT").setAsString(sort);
        dataSet.fieldByName("CITY").setAsString(city);
        dataSet.fieldByName("ZIP").setAsString(zipText);
        dataSet.fieldByName("NAME").setAsString(name);
        ++n;
    }
    double edits = cpuMs() - t0;
    std::printf("dataset over an in-memory table, %d rows (checksum %zu)\n", n, bytes);
    std::printf("  raw cursor walk, 4 fields:         %7.2f ms\n", raw);
    std::printf("  dataset walk, 4 fields as text:    %7.2f ms  (%.1fx)\n", walk, walk / raw);
    std::printf("  raw edits, 4 fields:               %7.2f ms\n", rawEdits);
    std::printf("  edit, 4 sets by name, next:        %7.2f ms  (%.1fx the raw edits)\n", edits,
                edits / rawEdits);
}

} // namespace

int main() {
    std::vector<Row> rows;
    rows.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i)
        rows.push_back({i, i % 7 == 0 ? "Ann" : "Bob"});

    // Baseline: copy each record into a buffer and look at its key.
    std::vector<Byte> buffer(64);
    double t0 = cpuMs();
    long long sum = 0;
    for (const Row& row : rows) {
        std::memset(buffer.data(), 0, buffer.size());
        putI32(buffer.data(), 0, row.id);
        std::strncpy(reinterpret_cast<char*>(buffer.data() + 4), row.name.c_str(), 20);
        sum += getI32(buffer.data(), 0);
    }
    double baseline = cpuMs() - t0;

    TestCursor cursor(rows);
    cursor.openCursor();
    t0 = cpuMs();
    std::size_t plain = walk(cursor);
    double plainWalk = cpuMs() - t0;

    Byte low[4];
    Byte high[4];
    putI32(low, 0, 1000);
    putI32(high, 0, 90000);
    cursor.setRange(false, 1, 0, low, true, 1, 0, high, true);
    FilterBlobBuilder b;
    auto blob = b.build(b.compare(filterexpr::Eq, false, 0, b.field("NAME"), b.text("Ann")));
    cursor.activateFilter(cursor.addFilter(0, 0, false, blob, nullptr));
    t0 = cpuMs();
    std::size_t filtered = walk(cursor);
    double filteredWalk = cpuMs() - t0;

    Byte k1[4];
    Byte k2[4];
    t0 = cpuMs();
    int acc = 0;
    for (int i = 0; i < 1000000; ++i) {
        putI32(k1, 0, i);
        putI32(k2, 0, i ^ 5);
        int result = 0;
        cursor.compareKeys(k1, k2, result, 0, 0);
        acc += result;
    }
    double compares = cpuMs() - t0;

    std::printf("engine cursor, %d records (checksum %lld, %d)\n", kRecords, sum, acc);
    std::printf("  plain vector loop:                 %7.2f ms\n", baseline);
    std::printf("  walk with next (%zu records):   %7.2f ms  (%.1fx the loop)\n", plain, plainWalk,
                plainWalk / baseline);
    std::printf("  range + expression filter (%zu): %7.2f ms  (%.1fx the loop)\n", filtered,
                filteredWalk, filteredWalk / baseline);
    std::printf("  1,000,000 key comparisons:         %7.2f ms\n", compares);

    // The call interface over an in-memory table, against the same walk on the cursor.
    TVirtEng engine(testSessions());
    EngineParams params;
    TBaseDatabase* db = nullptr;
    engine.OpenDatabase("C:\\bench", "", 0, 0, "", params, db);
    TBaseTable* mem = db->createInMemTable(
        "M", {fieldDesc("ID", fldtype::INT32), fieldDesc("NAME", fldtype::ZSTRING, 20)});
    std::vector<Byte> row(mem->recordBufferSize());
    for (int i = 0; i < kRecords; ++i) {
        putI32(row.data(), 0, i);
        mem->appendRecord(row.data());
    }
    t0 = cpuMs();
    std::size_t direct = 0;
    mem->setToBegin();
    try {
        for (;;) {
            mem->getNextRecord(LockType::None, row.data(), nullptr);
            ++direct;
        }
    } catch (const ETorvaneBoundryError&) {
    }
    double directWalk = cpuMs() - t0;
    t0 = cpuMs();
    std::size_t called = 0;
    engine.SetToBegin(mem);
    while (engine.GetNextRecord(mem, LockType::None, row.data(), nullptr) == 0)
        ++called;
    double engineWalk = cpuMs() - t0;
    std::printf("in-memory table, %zu records\n", called);
    std::printf("  walk on the cursor:                %7.2f ms\n", directWalk);
    std::printf("  walk through the call interface:   %7.2f ms  (%.2fx)\n", engineWalk,
                engineWalk / directWalk);

    // Cached updates: 10,000 pending changes applied to the real cursor.
    std::vector<Row> people;
    for (int i = 0; i < 10000; ++i)
        people.push_back({i, "x"});
    TestCursor source(people);
    source.openCursor();
    std::unique_ptr<TBaseCacheTable> cache(source.beginDelayedUpdates());
    std::vector<Byte> record(source.recordBufferSize());
    cache->setToBegin();
    for (int i = 0; i < 10000; ++i) {
        cache->getNextRecord(LockType::None, record.data(), nullptr);
        std::memcpy(record.data() + 4, "changed", 8);
        cache->modifyRecord(record.data(), true);
    }
    t0 = cpuMs();
    cache->applyDelayedUpdates(3);
    double apply = cpuMs() - t0;
    std::printf("cached updates\n  applying %d changes:             %7.2f ms\n",
                source.modifications, apply);

    benchDataSet(engine, db);
    return 0;
}
