#include "tests/xls/XlsTestSupport.h"
#include "xls/RecordCursor.h"
#include "xls/RecordStorage.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"
#include "xls/XlsUtils.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

std::vector<RecordHeader> headersOf(std::string bytes) {
    XlsStream stream;
    stream.openReadBytes(std::move(bytes));
    std::vector<RecordHeader> headers;
    RecordHeader header;
    while (stream.readHeader(header)) {
        headers.push_back(header);
        stream.seek(header.length, SeekOrigin::Current);
    }
    return headers;
}

} // namespace

TEST(RecordStreamTest, SplitModeCutsALongBodyIntoContinueRecords) {
    std::string body(10000, '\0');
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(i * 7);
    std::string out;
    XlsStream stream;
    stream.openWriteToMemory(out, ExcelVersion::Excel40);
    stream.writeWordRecord(0x0001, 0xBEEF);
    stream.beginSplit(8224);
    stream.writeHeader(0x00FC, 0);
    stream.writeData(body.substr(0, 3000)); // in pieces, as the writers hand it over
    stream.writeData(body.substr(3000));
    stream.endSplit();
    stream.writeRecord(0x000A, "");
    stream.close();

    std::vector<RecordHeader> headers = headersOf(out);
    ASSERT_EQ(headers.size(), 4u);
    EXPECT_EQ(headers[1].id, 0x00FC);
    EXPECT_EQ(headers[1].length, 8224);
    EXPECT_EQ(headers[2].id, 0x003C);
    EXPECT_EQ(headers[2].length, 1776);
    EXPECT_EQ(headers[3].id, 0x000A);
    EXPECT_EQ(out.substr(6 + 4, 8224), body.substr(0, 8224));
    EXPECT_EQ(out.substr(6 + 4 + 8224 + 4, 1776), body.substr(8224));

    // A body that fills its record exactly needs no CONTINUE.
    std::string exact;
    stream.openWriteToMemory(exact, ExcelVersion::Excel40);
    stream.beginSplit(100);
    stream.writeHeader(0x00EB, 0);
    stream.writeData(std::string(100, 'x'));
    stream.endSplit();
    stream.close();
    EXPECT_EQ(exact.size(), 104u);
    EXPECT_EQ(headersOf(exact)[0].length, 100);
}

TEST(RecordStreamTest, LengthsThatDoNotFitSixteenBitsRaise) {
    std::string out;
    XlsStream stream;
    stream.openWriteToMemory(out, ExcelVersion::Excel40);
    stream.beginSplit(70000);
    stream.writeHeader(0x00FC, 0);
    stream.writeData(std::string(66000, 'a'));
    EXPECT_THROW(stream.endSplit(), RangeError);
    EXPECT_THROW(stream.writeRecord(0x0001, std::string(65536, 'b')), RangeError);
    stream.abandon();
    EXPECT_TRUE(out.empty()) << "an abandoned write leaves the target alone";
}

TEST(RecordStreamTest, StringBodies) {
    std::string out;
    XlsStream stream;
    stream.openWriteToMemory(out, ExcelVersion::Excel40);
    stream.writeXlsString("");
    stream.writeXlsString("ab");
    stream.writeXlsString("\x80"); // "€" is no Latin-1 character: written as UTF-16
    stream.writeFlaggedString("");
    stream.writeFlaggedString(std::string("\x01\x41\x00\x42\x00", 5));
    stream.close();
    EXPECT_EQ(out, std::string("\x02\x00\x00"
                               "ab"
                               "\x01\x00\x01\xAC\x20"
                               "\x00\x00"
                               "\x02\x00\x01\x41\x00\x42\x00",
                               19));
}

TEST(RecordStreamTest, PlainFilesAreRecognisedByTheirFirstRecord) {
    struct Case {
        std::string bytes;
        ExcelVersion version;
    };
    std::vector<Case> cases = {
        {record(0x0009, word(2) + word(0x10)), ExcelVersion::Excel21},
        {record(0x0209, word(0) + word(0x10)), ExcelVersion::Excel30},
        {record(0x0409, word(0) + word(0x10)), ExcelVersion::Excel40},
        {record(0x0809, word(0x0600) + word(0x10)), ExcelVersion::None},
        {record(0x0408, word(0)), ExcelVersion::None},
        {"\x09\x04", ExcelVersion::None},
        {"", ExcelVersion::None},
    };
    for (const Case& c : cases) {
        XlsStream stream;
        EXPECT_EQ(stream.openReadBytes(c.bytes), c.version);
        EXPECT_EQ(stream.size(), c.bytes.size());
        EXPECT_EQ(stream.position(), 0u);
    }
}

TEST(RecordStreamTest, RecordsAreReadWithinTheirBounds) {
    XlsStream stream;
    stream.openReadBytes(record(0x0409, "\x01\x02\x03") + std::string("\x0A\x00\x05", 3));
    RecordHeader header;
    ASSERT_TRUE(stream.readHeader(header));
    EXPECT_EQ(header.length, 3);
    char buffer[8] = {};
    EXPECT_EQ(stream.read(buffer, 8), 6u) << "reads what is there and no more";
    EXPECT_FALSE(stream.readHeader(header)) << "a cut-off header ends the records";
    EXPECT_THROW(stream.seek(1, SeekOrigin::Current), RangeError);

    RecordCursor cursor(std::string_view("\x34\x12\xFF", 3));
    EXPECT_EQ(cursor.u16(0), 0x1234);
    EXPECT_EQ(cursor.u16(2), 0x00FF) << "bytes past the end read as 0";
    EXPECT_EQ(cursor.u32(100), 0u);
    EXPECT_EQ(cursor.i16(1), static_cast<int16_t>(0xFF12));
    EXPECT_THROW(cursor.bytes(2, 2), XlsError);
    EXPECT_THROW(cursor.bytes(SIZE_MAX, 2), XlsError) << "no wrap-around of offset + count";
    EXPECT_EQ(cursor.takeU16(), 0x1234);
    EXPECT_THROW(cursor.takeU16(), XlsError);
    EXPECT_EQ(cursor.takeU8(), 0xFF);
}

TEST(RecordStreamTest, RecordStorageKeepsASubstreamAndWritesItBack) {
    std::string substream = record(0x1001, "ab") + record(0x1002, "") + record(0x1003, "xyz");
    XlsStream stream;
    stream.openReadBytes(substream + record(0x000A, "") + record(0x0203, "after"));
    RecordStorage kept;
    kept.readUntilEof(stream, 8224);
    ASSERT_EQ(kept.count(), 3u);
    EXPECT_EQ(kept.item(2).body, "xyz");
    RecordHeader next;
    ASSERT_TRUE(stream.readHeader(next));
    EXPECT_EQ(next.id, 0x0203) << "the EOF is consumed, the record after it is not";

    std::string out;
    stream.openWriteToMemory(out, ExcelVersion::Excel40);
    kept.writeAll(stream);
    stream.close();
    EXPECT_EQ(out, substream);

    RecordStorage refused;
    stream.openReadBytes(record(0x1001, std::string(3000, 'x')));
    EXPECT_THROW(refused.readUntilEof(stream, 2080), XlsError);
    stream.openReadBytes(word(0x1001) + word(50) + "short");
    EXPECT_THROW(refused.readUntilEof(stream, 2080), XlsError);
}

TEST(RecordStreamTest, FileOutputReplacesTheTargetOnlyWhenFinished) {
    ScratchFolder folder;
    std::string path = folder.file("list.xls");
    writeFile(path, "precious");
    XlsStream stream;
    stream.openWrite(path, ExcelVersion::Excel40);
    stream.writeRecord(0x0409, "body");
    EXPECT_EQ(readFile(path), "precious") << "the file is not truncated when the write begins";
    stream.abandon();
    EXPECT_EQ(readFile(path), "precious");
    EXPECT_EQ(folder.entryCount(), 1u);

    stream.openWrite(path, ExcelVersion::Excel40);
    stream.writeRecord(0x0409, "body");
    stream.close();
    EXPECT_EQ(readFile(path), record(0x0409, "body"));
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file is left behind";

    stream.openWrite(folder.file("missing/list.xls"), ExcelVersion::Excel97);
    stream.writeRecord(0x0809, "body");
    EXPECT_THROW(stream.close(), XlsError);
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(RecordStreamTest, LongPathsAreOpenedWhole) {
    ScratchFolder folder;
    std::string deep = folder.file(std::string(200, 'd'));
    std::filesystem::create_directories(deep);
    std::string path = deep + "/" + std::string(120, 'f') + ".xls";
    ASSERT_GT(path.size(), 255u);
    writeFile(path, record(0x0409, word(0) + word(0x10)));
    XlsStream stream;
    EXPECT_EQ(stream.openRead(path), ExcelVersion::Excel40);
    EXPECT_THROW(stream.openRead(path.substr(0, 255)), XlsError);
}
