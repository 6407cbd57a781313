#include "accessdb/engine/CursorProps.h"
#include "accessdb/engine/DatabaseDesc.h"
#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/FieldDesc.h"
#include "accessdb/engine/IndexDesc.h"
#include "accessdb/engine/TErrorStack.h"

#include <gtest/gtest.h>

#include <vector>

using namespace accessdb;

TEST(StatusCodes, NamesComeFromTheTableAndUnknownCodesAreFormatted) {
    EXPECT_EQ(statusTable().size(), 471u);
    EXPECT_EQ(errorCodeText(0), "DBIERR_NONE");
    EXPECT_EQ(errorCodeText(0x2202), "DBIERR_EOF");
    EXPECT_EQ(errorCodeText(0x2204), "DBIERR_RECDELETED");
    EXPECT_EQ(errorCodeText(0x2EA1), "DBIERR_QUERYTOOLONG");
    EXPECT_EQ(errorCodeText(0x2D02), "DBIERR_INVALIDOPTPARAM");
    EXPECT_EQ(errorCodeText(0x3E07), "DBIERR_VENDINITFAIL");
    EXPECT_EQ(errorCodeText(0x1234), "Torvane (DBE) Error 4660.");
    EXPECT_EQ(errorCodeText(0x2202, 8), "DBIERR_E");
}

TEST(StatusCodes, OperatingSystemGroupKeepsItsListedOrder) {
    auto table = statusTable();
    EXPECT_EQ(table[242].code, 0x2B65); // the network error stands before 0x2B34
    EXPECT_EQ(table[243].code, 0x2B34);
    EXPECT_EQ(table[15].code, 0x2204); // the second 0x2204 is never found by a lookup
    EXPECT_STREQ(table[15].name, "KEYORRECDELETED");
}

TEST(StatusCodes, MappingTakesTheFirstMatchingPair) {
    const StatusMapping pairs[] = {{3021, 0x2205}, {3078, 0x2728}, {3021, 1}};
    EXPECT_EQ(mapErrorCode(pairs, 3021), 0x2205);
    EXPECT_EQ(mapErrorCode(pairs, 3022), 3022);
    EXPECT_EQ(mapErrorCode(pairs, 0), 0);
    EXPECT_EQ(mapErrorCode({}, 3021), 3021);
}

TEST(EngineErrors, RaiseHelpersCarryTheirCodes) {
    try {
        raiseNotSupported(9040);
        FAIL();
    } catch (const ETorvaneEngineError& e) {
        EXPECT_EQ(e.errorCode(), dbierr::NOTSUPPORTED);
        EXPECT_TRUE(e.errorText().empty());
        EXPECT_STREQ(e.what(), "");
    }
    EXPECT_THROW(raiseEOF(), ETorvaneBoundryError);
    EXPECT_THROW(raiseBOF(), ETorvaneBOFError);
    int value = 1;
    EXPECT_EQ(checkParam(&value), &value);
    try {
        checkHandle(static_cast<int*>(nullptr));
        FAIL();
    } catch (const ETorvaneEngineError& e) {
        EXPECT_EQ(e.errorCode(), dbierr::INVALIDHNDL);
    }
    ETorvaneEngineError longText(1, std::string(300, 'x'));
    EXPECT_EQ(longText.errorText().size(), 255u);
    EXPECT_THROW(checked16(70000), ERangeError);
}

TEST(ErrorStack, KeepsTheNewestTwentyEntries) {
    TErrorStack stack(50);
    EXPECT_EQ(stack.capacity(), 20);
    for (int i = 1; i <= 21; ++i)
        stack.pushException(ETorvaneEngineError(static_cast<Status>(0x2200 + i)));
    EXPECT_EQ(stack.count(), 20);
    ErrorEntry entry;
    ASSERT_TRUE(stack.getEntry(1, entry));
    EXPECT_EQ(entry.code(), 0x2200 + 21);
    ASSERT_TRUE(stack.getEntry(20, entry));
    EXPECT_EQ(entry.code(), 0x2200 + 2); // the first push is gone
    EXPECT_FALSE(stack.getEntry(21, entry));
    stack.clear();
    EXPECT_TRUE(stack.isEmpty());
    EXPECT_FALSE(stack.getEntry(1, entry));
}

namespace {

struct DriverError : ETorvaneEngineError {
    DriverError(Status code, std::int32_t native) : ETorvaneEngineError(code) {
        setNativeError(native);
    }
    std::string driverMessage() const override { return "Access Status 3078 - missing"; }
};

} // namespace

TEST(ErrorStack, EntriesFollowTheFixedLayout) {
    TErrorStack stack(10);
    stack.pushException(ETorvaneEngineError(0x1234));
    stack.pushException(DriverError(0x2728, -3078));
    std::string text(200, 'a');
    text[150] = 'b';
    stack.pushException(ETorvaneEngineError(0x2202, text));

    ErrorEntry entry;
    ASSERT_TRUE(stack.getEntry(1, entry));
    EXPECT_EQ(entry.codeText(), "DBIERR_EOF");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&entry.bytes[395]), 200), text);
    EXPECT_EQ(entry.bytes[595], 0);
    EXPECT_EQ(entry.context(1), text.substr(128));
    EXPECT_EQ(entry.bytes[907], 0);

    ASSERT_TRUE(stack.getEntry(2, entry));
    EXPECT_EQ(entry.nativeError(), -3078);
    EXPECT_EQ(entry.driverMessage(), "Access Status 3078 - missing");
    EXPECT_EQ(entry.code(), 0x2728);

    ASSERT_TRUE(stack.getEntry(3, entry));
    EXPECT_EQ(entry.codeText(), "Torvane (DBE) Error 0."); // formatted with the native error
}

TEST(PackedRecords, LayoutsHaveTheirFixedSizesAndOffsets) {
    EXPECT_EQ(FieldDesc::Size, 62u);
    EXPECT_EQ(DatabaseDesc::Size, 357u);
    EXPECT_EQ(IndexDesc::Size, 893u);
    EXPECT_EQ(CursorProps::Size, 427u);
    EXPECT_EQ(ErrorEntry::Size, 908u);
    EXPECT_EQ(sizeof(ErrorEntry::bytes), 908u);

    FieldDesc field;
    field.fieldNumber = 3;
    field.setName(std::string(40, 'N'));
    field.type = fldtype::INT32;
    field.localSize = 4;
    std::vector<Byte> bytes(FieldDesc::Size, 0xEE);
    field.pack(bytes.data());
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[2], 'N');
    EXPECT_EQ(bytes[2 + 31], 0); // 31 characters and the terminator
    EXPECT_EQ(bytes[34], fldtype::INT32);
    EXPECT_EQ(bytes[60], 4);
    EXPECT_EQ(FieldDesc::unpack(bytes.data()).name, std::string(31, 'N'));

    IndexDesc index;
    index.name = "BYZIP";
    index.keyFieldCount = 2;
    index.keyFields = {4, 7};
    index.descendingFields[1] = 1;
    index.caseInsensitive = 1;
    std::vector<Byte> ib(IndexDesc::Size);
    index.pack(ib.data());
    EXPECT_EQ(getU16(ib.data(), 341), 2);
    EXPECT_EQ(getU16(ib.data(), 351), 7);
    IndexDesc back = IndexDesc::unpack(ib.data());
    EXPECT_EQ(back.name, "BYZIP");
    EXPECT_EQ(back.keyFields[1], 7);
    EXPECT_EQ(back.descendingFields[1], 1);
    EXPECT_EQ(back.caseInsensitive, 1);

    DatabaseDesc db{"MAIL", "PATH", "C:\\data\\", "ACCESS"};
    std::vector<Byte> dbBytes(DatabaseDesc::Size);
    db.pack(dbBytes.data());
    EXPECT_EQ(getText(dbBytes.data(), 64, 261), "C:\\data\\");
    EXPECT_EQ(DatabaseDesc::unpack(dbBytes.data()).dbType, "ACCESS");
}
