#include "xls/SharedStringTable.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace xls;
using namespace xls::test;

namespace {

std::string written(const SharedStringTable& table, int maxRecordSize = 8224) {
    std::string out;
    XlsStream stream;
    stream.openWriteToMemory(out, ExcelVersion::Excel40);
    const_cast<SharedStringTable&>(table).setMaxRecordSize(maxRecordSize);
    table.write(stream);
    stream.close();
    return out;
}

void readInto(SharedStringTable& table, std::string bytes) {
    XlsStream stream;
    stream.openReadBytes(std::move(bytes));
    table.read(stream);
}

// A hand-made SST: the header, then the given pieces, each a record of its own (the first an
// SST record, the rest CONTINUE records).
std::string sstRecords(const std::vector<std::string>& pieces) {
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i)
        out += record(i == 0 ? 0x00FC : 0x003C, pieces[i]);
    return out;
}

std::string text10(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "s%09d", n);
    return buffer;
}

// The reference de-duplication: the first entry, in index order, with the same width and
// the same bytes.
struct LinearTable {
    std::vector<std::pair<bool, std::string>> entries;
    int add(bool wide, const std::string& bytes) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].first == wide && entries[i].second == bytes)
                return static_cast<int>(i);
        entries.emplace_back(wide, bytes);
        return static_cast<int>(entries.size()) - 1;
    }
};

} // namespace

TEST(SharedStringTableTest, TenThousandStringsSplitWithinTheRecordSizeAndReadBack) {
    SharedStringTable table;
    for (int i = 0; i < 10000; ++i)
        table.addString(text10(i));
    std::string bytes = written(table);
    std::vector<RawRecord> records = recordsOf(bytes);
    ASSERT_GT(records.size(), 1u);
    EXPECT_EQ(records[0].id, 0x00FC);
    size_t total = 0;
    for (const RawRecord& r : records) {
        EXPECT_LE(r.body.size(), 8224u);
        EXPECT_TRUE(r.id == 0x00FC || r.id == 0x003C);
        total += 4 + r.body.size();
    }
    EXPECT_EQ(total, bytes.size());

    SharedStringTable back;
    readInto(back, bytes);
    ASSERT_EQ(back.count(), 10000u);
    EXPECT_EQ(back.totalUseCount(), 10000);
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(back.getString(i), text10(i));
}

TEST(SharedStringTableTest, RichWideAndPhoneticStringsSurviveEverySplit) {
    // Built by reading, since only files bring runs and phonetic data: mixed widths, runs
    // and phonetic data, written at record sizes that cut them in every place.
    std::string body = dword(7) + dword(4);
    body += word(3) + std::string("\x00"
                                  "abc",
                                  4);
    body += word(2) + std::string("\x09", 1) + word(2) + std::string("\xAC\x20Z\x00", 4) +
            dword(0x00010002) + dword(0x00030004);
    body += word(4) + std::string("\x0C", 1) + word(1) + dword(5) + "rich" + dword(0x11223344) +
            "phone";
    body +=
        word(2) + std::string("\x05", 1) + dword(3) + std::string("\x42\x04\x43\x04", 4) + "xyz";
    SharedStringTable original;
    readInto(original, sstRecords({body}));
    ASSERT_EQ(original.count(), 4u);
    EXPECT_EQ(original.getWideString(1), u"\u20ACZ");
    EXPECT_EQ(original.runs(2).size(), 4u);
    EXPECT_EQ(original.phonetic(2), "phone");

    for (int max : {32, 33, 34, 35, 37, 40, 45, 64}) {
        SCOPED_TRACE(max);
        std::string bytes = written(original, max);
        for (const RawRecord& r : recordsOf(bytes))
            EXPECT_LE(r.body.size(), static_cast<size_t>(max));
        SharedStringTable back;
        readInto(back, bytes);
        ASSERT_EQ(back.count(), original.count());
        for (size_t i = 0; i < back.count(); ++i) {
            EXPECT_EQ(back.entry(i).options, original.entry(i).options);
            EXPECT_EQ(back.chars(i), original.chars(i));
            EXPECT_EQ(back.runs(i), original.runs(i));
            EXPECT_EQ(back.phonetic(i), original.phonetic(i));
        }
    }
}

TEST(SharedStringTableTest, ContinuationPiecesCarryTheirOwnWidth) {
    // A 16-bit string cut by a CONTINUE starts the continuation with option byte 1.
    SharedStringTable table;
    table.addWideString(std::u16string(40, u'\u0416'));
    std::vector<RawRecord> records = recordsOf(written(table, 32));
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[1].id, 0x003C);
    EXPECT_EQ(records[1].body[0], '\x01');
    EXPECT_EQ(records[0].body.size() % 2, 1u)
        << "8 header bytes + 3 string bytes + whole characters";

    // A 16-bit string whose second piece is 8-bit reads back whole, as 16-bit text.
    SharedStringTable mixed;
    readInto(mixed,
             sstRecords({dword(1) + dword(1) + word(4) + std::string("\x01\x16\x04\x17\x04", 5),
                         std::string("\x00"
                                     "ab",
                                     3)}));
    EXPECT_EQ(mixed.getWideString(0), u"\u0416\u0417ab");
    // And an 8-bit string that goes on in 16 bits becomes 16-bit.
    SharedStringTable widened;
    readInto(widened, sstRecords({dword(1) + dword(1) + word(3) +
                                      std::string("\x00"
                                                  "a",
                                                  2),
                                  std::string(), std::string("\x01\x16\x04\x17\x04", 5)}));
    EXPECT_EQ(widened.getWideString(0), u"a\u0416\u0417");
    EXPECT_TRUE(widened.entry(0).options & SharedStringTable::Wide);
}

TEST(SharedStringTableTest, DamagedTablesRaiseOrKeepWhatIsThere) {
    SharedStringTable table;
    EXPECT_THROW(readInto(table, sstRecords({dword(1) + dword(0x80000000)})), RangeError);

    // A count far above what the records hold keeps the strings there and leaves the stream
    // at the next record.
    XlsStream stream;
    stream.openReadBytes(
        sstRecords({dword(9) + dword(0x7FFFFFFF) + word(1) + std::string("\0x", 2)}) +
        record(0x00FF, "next"));
    table.read(stream);
    EXPECT_EQ(table.count(), 1u);
    RecordHeader header;
    ASSERT_TRUE(stream.readHeader(header));
    EXPECT_EQ(header.id, 0x00FF);

    struct Case {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> damaged = {
        {"characters past the end",
         sstRecords({dword(1) + dword(1) + word(50) + std::string("\0abc", 4)})},
        {"unknown option byte",
         sstRecords({dword(1) + dword(1) + word(1) + std::string("\x02x", 2)})},
        {"negative phonetic size", sstRecords({dword(1) + dword(1) + word(1) +
                                               std::string("\x04", 1) + dword(0xFFFFFFF0) + "x"})},
        {"phonetic data past the end", sstRecords({dword(1) + dword(1) + word(1) +
                                                   std::string("\x04", 1) + dword(1000000) + "x"})},
        {"runs past the end",
         sstRecords({dword(1) + dword(1) + word(1) + std::string("\x08", 1) + word(5000) + "x"})},
        {"a string cut where no CONTINUE follows",
         sstRecords({dword(1) + dword(1) + word(5) + std::string("\0ab", 3)}) + record(0x00FF, "")},
        {"a character cut in half",
         sstRecords({dword(1) + dword(1) + word(2) + std::string("\x01\x41", 2),
                     std::string("\x01\x00\x42\x00", 4)})},
        {"header cut short", std::string("\xFC\x00\x08\x00\x01", 5)},
    };
    for (Case& c : damaged) {
        SCOPED_TRACE(c.what);
        SharedStringTable t;
        EXPECT_THROW(readInto(t, c.bytes), XlsError);
    }
    SharedStringTable missing;
    EXPECT_THROW(missing.addRef(0), XlsError);
    EXPECT_EQ(missing.getString(3), "");
}

TEST(SharedStringTableTest, EqualTextsShareTheFirstEntryAsALinearScanFinds) {
    SharedStringTable table;
    EXPECT_EQ(table.addString("abc"), table.addString("abc"));
    EXPECT_EQ(table.useCount(0), 2);
    EXPECT_EQ(table.totalUseCount(), 2);
    EXPECT_NE(table.addWideString(u"ab"), table.addWideString(u"ac"));
    EXPECT_NE(table.addString("ab"), table.addWideString(u"ab")) << "8-bit and 16-bit texts differ";

    // Five thousand adds drawn from a small pool, wide and narrow, against the reference scan.
    SharedStringTable big;
    LinearTable reference;
    std::mt19937 random(11);
    for (int i = 0; i < 5000; ++i) {
        int n = static_cast<int>(random() % 1500);
        bool wide = random() % 3 == 0;
        std::string text = "t" + std::to_string(n);
        if (wide) {
            std::u16string wideText(text.begin(), text.end());
            std::string bytes;
            for (char16_t c : wideText)
                bytes += {static_cast<char>(c), '\0'};
            ASSERT_EQ(big.addWideString(wideText), reference.add(true, bytes));
        } else {
            ASSERT_EQ(big.addString(text), reference.add(false, text));
        }
    }
    EXPECT_EQ(big.count(), reference.entries.size());

    // Equal texts read from a file stay apart; an added text finds the first of them.
    SharedStringTable read;
    readInto(read, sstRecords({dword(2) + dword(2) + word(1) + std::string("\0q", 2) + word(1) +
                               std::string("\0q", 2)}));
    EXPECT_EQ(read.count(), 2u);
    EXPECT_EQ(read.addString("q"), 0);
    EXPECT_EQ(read.addRef(1), 1);
    EXPECT_EQ(read.useCount(1), 1);
}

TEST(SharedStringTableTest, TextOutsideLatinOneIsKeptAsUtf16) {
    SharedStringTable table;
    table.addString("ab");
    table.addString("\x80"); // "€" in code page 1252
    EXPECT_FALSE(table.entry(0).options & SharedStringTable::Wide);
    EXPECT_TRUE(table.entry(1).options & SharedStringTable::Wide);
    EXPECT_EQ(table.getString(1), "\x80");
    EXPECT_EQ(table.addString("\x80"), 1);

    ScratchFolder folder;
    std::string path = folder.file("euro.xls");
    std::string sstBytes = written(table);
    std::string cells = record(0x00FD, word(0) + word(0) + word(0) + dword(0)) +
                        record(0x00FD, word(0) + word(1) + word(0) + dword(1));
    XlsStream stream;
    stream.openWrite(path, ExcelVersion::Excel97);
    stream.writeRaw(biff8Book(sstBytes, cells));
    stream.close();
    EXPECT_EQ(runTool("xlrd_cells.py", {path}),
              "0 0 " + utf16Hex(u"ab") + "\n0 1 " + utf16Hex(u"\u20AC") + "\n");
}

TEST(SharedStringTableTest, TablesOfOtherWritersReadAsXlrdReadsThem) {
    REQUIRE_XLS_CORPUS();
    for (const char* name :
         {"calamine/sst_continue.xls", "poi/StringContinueRecords.xls", "poi/29942.xls",
          "exceldatareader/StringContinuationAfterCharacterData.xls",
          "exceldatareader/Test_git_issue_286_SST.xls",
          "exceldatareader/Test_git_issue_467_sst_empty_continue.xls"}) {
        SCOPED_TRACE(name);
        XlsStream stream;
        ASSERT_EQ(stream.openRead(corpusPath(name)), ExcelVersion::Excel97);
        std::string bytes(stream.size(), '\0');
        stream.read(bytes.data(), bytes.size());
        SharedStringTable table;
        for (const RawRecord& r : recordsOf(bytes))
            if (r.id == 0x00FC) {
                stream.seek(static_cast<int64_t>(r.position), SeekOrigin::Begin);
                table.read(stream);
                break;
            }
        std::ostringstream ours;
        ours << table.count() << "\n";
        for (size_t i = 0; i < table.count(); ++i)
            ours << utf16Hex(table.getWideString(static_cast<int32_t>(i))) << "\n";
        EXPECT_EQ(ours.str(), runTool("sst_strings.py", {corpusPath(name)}));
    }
}

TEST(SharedStringTableTest, MalformedTablesOfTheCorpusReadOrFailCleanly) {
    REQUIRE_XLS_CORPUS();
    std::vector<std::string> files = {corpusPath("calamine/gh548_incorrect_sst_unique_count.xls")};
    for (const std::string& path : corpusFiles("exceldatareader/corrupt"))
        if (path.find("sst") != std::string::npos)
            files.push_back(path);
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        XlsStream stream;
        stream.openRead(path);
        std::string bytes(stream.size(), '\0');
        stream.read(bytes.data(), bytes.size());
        for (const RawRecord& r : recordsOf(bytes)) {
            if (r.id != 0x00FC)
                continue;
            stream.seek(static_cast<int64_t>(r.position), SeekOrigin::Begin);
            SharedStringTable table;
            try {
                table.read(stream);
            } catch (const XlsError&) {
            }
            for (size_t i = 0; i < table.count(); ++i)
                table.getString(static_cast<int32_t>(i));
        }
    }
}
