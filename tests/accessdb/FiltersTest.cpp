#include "tests/accessdb/TestCursor.h"

#include "accessdb/engine/FilterBlobBuilder.h"

#include <gtest/gtest.h>

using namespace accessdb;
using namespace accessdb::testing;
namespace fx = accessdb::filterexpr;

namespace {

std::vector<std::int32_t> walk(TestCursor& cursor) {
    std::vector<Byte> record(cursor.recordBufferSize());
    std::vector<std::int32_t> ids;
    cursor.setToBegin();
    try {
        for (;;) {
            cursor.getNextRecord(LockType::None, record.data(), nullptr);
            ids.push_back(idOf(record.data()));
        }
    } catch (const ETorvaneBoundryError&) {
    }
    return ids;
}

std::vector<Byte> intConstant(std::int32_t value) {
    std::vector<Byte> bytes(4);
    putI32(bytes.data(), 0, value);
    return bytes;
}

std::int32_t evenIds(std::uintptr_t, const Byte* record, std::int16_t) {
    return idOf(record) % 20 == 0;
}

std::int32_t rejectAll(std::uintptr_t, const Byte*, std::int16_t) {
    return 0;
}

TFilterListItem* addActive(TestCursor& cursor, const std::vector<Byte>& blob,
                           FilterCallback callback = nullptr) {
    TFilterListItem* filter = cursor.addFilter(0, 0, false, blob, callback);
    cursor.activateFilter(filter);
    return filter;
}

} // namespace

TEST(Filters, CallbacksAndExpressionsHideRecords) {
    TestCursor cursor(fivePeople());
    cursor.openCursor();
    TFilterListItem* even = addActive(cursor, {}, evenIds);
    EXPECT_EQ(walk(cursor), (std::vector<std::int32_t>{20, 40}));

    FilterBlobBuilder b;
    auto blob = b.build(
        b.compare(fx::Ge, false, 0, b.field("id"), b.constant(fldtype::INT32, intConstant(30))));
    TFilterListItem* atLeast30 = addActive(cursor, blob);
    EXPECT_EQ(walk(cursor), (std::vector<std::int32_t>{40}));

    cursor.deactivateFilter(even);
    EXPECT_EQ(walk(cursor), (std::vector<std::int32_t>{30, 40, 50}));
    cursor.dropFilter(atLeast30);
    EXPECT_FALSE(cursor.filtered());
    EXPECT_EQ(walk(cursor).size(), 5u);

    // A filter with neither callback nor expression lets everything through.
    addActive(cursor, {});
    EXPECT_EQ(walk(cursor).size(), 5u);

    addActive(cursor, {}, rejectAll);
    EXPECT_TRUE(walk(cursor).empty());
    std::vector<Byte> record(cursor.recordBufferSize());
    cursor.setToBegin();
    EXPECT_THROW(cursor.getNextRecord(LockType::None, record.data(), nullptr), ETorvaneEOFError);
}

TEST(Filters, UnknownFiltersAreRefusedAndInfoDescribesThem) {
    TestCursor cursor(fivePeople());
    TestCursor other(fivePeople());
    TFilterListItem* foreign = other.addFilter(1, 0, false, {}, nullptr);
    try {
        cursor.activateFilter(foreign);
        FAIL();
    } catch (const ETorvaneEngineError& e) {
        EXPECT_EQ(e.errorCode(), dbierr::NOSUCHFILTER);
    }
    EXPECT_THROW(cursor.deactivateFilter(foreign), ETorvaneEngineError);

    FilterInfo info;
    cursor.getFilterInfo(nullptr, info);
    EXPECT_EQ(info.filter, nullptr);
    TFilterListItem* mine = cursor.addFilter(77, 3, true, {}, evenIds);
    cursor.activateFilter(nullptr);
    cursor.getFilterInfo(nullptr, info);
    EXPECT_EQ(info.filter, mine);
    EXPECT_EQ(info.clientData, 77u);
    EXPECT_EQ(info.priority, 3);
    EXPECT_TRUE(info.active);
    CursorProps props;
    cursor.getCursorProps(props);
    EXPECT_EQ(props.filterCount, 1);
    cursor.dropFilter(nullptr);
    EXPECT_EQ(cursor.filters().count(), 0);
}

TEST(Filters, OrWithATrueLeftSideNeverReadsTheRightField) {
    TestCursor cursor(fivePeople());
    cursor.openCursor();
    FilterBlobBuilder b;
    auto left =
        b.compare(fx::Gt, false, 0, b.field("ID"), b.constant(fldtype::INT32, intConstant(0)));
    auto right = b.compare(fx::Eq, false, 0, b.field("NAME"), b.text("Nobody"));
    addActive(cursor, b.build(b.binary(fx::Or, left, right)));
    EXPECT_EQ(walk(cursor).size(), 5u);
    EXPECT_EQ(cursor.fieldReads[TestCursor::NameField], 0);
    EXPECT_EQ(cursor.fieldReads[TestCursor::IdField], 5);
}

TEST(Filters, MixedTypesCompareAsTextAndUnknownNamesAsQuotedText) {
    TestCursor cursor(fivePeople());
    cursor.openCursor();
    FilterBlobBuilder b;
    std::string tenDigits = "0000000030";
    auto blob = b.build(b.compare(
        fx::Eq, false, 0, b.field("ID"),
        b.constant(fldtype::VARBYTES, std::vector<Byte>(tenDigits.begin(), tenDigits.end()))));
    addActive(cursor, blob);
    EXPECT_EQ(walk(cursor), (std::vector<std::int32_t>{30}));
    cursor.dropFilter(nullptr);

    // "\"Cy\"" names no field, so it stands for the text Cy.
    FilterBlobBuilder q;
    addActive(cursor, q.build(q.compare(fx::Eq, false, 0, q.field("NAME"), q.field("\"Cy\""))));
    EXPECT_EQ(walk(cursor), (std::vector<std::int32_t>{30}));
    cursor.dropFilter(nullptr);

    FilterBlobBuilder n;
    auto isAnn = n.compare(fx::Eq, true, 0, n.field("name"), n.text("ANN"));
    addActive(cursor, n.build(n.unary(fx::Not, isAnn)));
    EXPECT_EQ(walk(cursor), (std::vector<std::int32_t>{20, 30, 40, 50}));
}

TEST(Filters, MalformedBlobsFailTheRecordWithoutReadingOutside) {
    TestCursor cursor(fivePeople());
    cursor.openCursor();
    FilterBlobBuilder b;
    auto good = b.build(b.compare(fx::Eq, false, 0, b.field("NAME"), b.text("Ann")));
    addActive(cursor, good);
    EXPECT_EQ(walk(cursor), (std::vector<std::int32_t>{10}));

    // Every damaged variant must fail every record and stay inside the blob.
    std::vector<std::vector<Byte>> damaged;
    auto withWord = [&](std::size_t at, std::uint16_t value) {
        auto blob = good;
        putU16(blob.data(), at, value);
        damaged.push_back(blob);
    };
    withWord(6, 0xFFF0);          // node area beyond the blob
    withWord(8, 0xFFF0);          // literal area beyond the blob
    withWord(10 + 8 + 4, 0x7000); // the left operand points nowhere
    withWord(10 + 8 + 6, 0x7000); // the right operand points nowhere
    auto cut = good;
    cut.resize(14);
    putU16(cut.data(), 2, 14);
    damaged.push_back(cut);
    auto selfLoop = good;
    putU16(selfLoop.data(), 10 + 8 + 4, 0); // the root is its own operand
    damaged.push_back(selfLoop);
    for (const auto& blob : damaged) {
        cursor.dropFilter(nullptr);
        addActive(cursor, blob);
        EXPECT_TRUE(walk(cursor).empty());
    }
}
