// The stored forms this engine writes: rows of every length around the 256-byte steps of
// Jet3's offset table, Jet4 text, compressed or not, and the index keys of text.

#include "mdbengine/pages/JetFormat.h"
#include "mdbengine/pages/TextCodec.h"
#include "mdbengine/tables/RowCodec.h"
#include "mdbengine/tables/TableProperties.h"
#include "mdbengine/tables/TextKey.h"
#include "mdbengine/values/Utf8.h"
#include "mdbengine/values/Windows1252.h"

#include <gtest/gtest.h>
#include <vector>

using namespace mdbengine::file;

namespace {

std::vector<std::uint8_t> bytes(std::size_t count, std::uint8_t fill) {
    return std::vector<std::uint8_t>(count, fill);
}

void expectSameParts(const RowView& a, const RowView& b) {
    ASSERT_EQ(a.columnCount, b.columnCount);
    EXPECT_TRUE(std::equal(a.fixed.begin(), a.fixed.end(), b.fixed.begin(), b.fixed.end()));
    ASSERT_EQ(a.variable.size(), b.variable.size());
    for (std::size_t i = 0; i < a.variable.size(); ++i)
        EXPECT_TRUE(std::equal(a.variable[i].begin(), a.variable[i].end(), b.variable[i].begin(),
                               b.variable[i].end()))
            << "value " << i;
    EXPECT_TRUE(
        std::equal(a.nullMask.begin(), a.nullMask.end(), b.nullMask.begin(), b.nullMask.end()));
    EXPECT_EQ(a.padding.size(), b.padding.size());
}

// Every row length from 200 to 1,100 bytes: the values straddle each 256-byte step in
// turn, and the jump table grows with the row's length alone.
TEST(JetCodecTest, Jet3RowsOfEveryLengthCrackAsTheyWerePacked) {
    const JetFormat& format = JetFormat::version3();
    std::vector<std::uint8_t> fixed = bytes(9, 0x11);
    std::vector<std::uint8_t> mask = {0xFF, 0x0F};
    for (std::size_t extra = 0; extra < 900; ++extra) {
        std::vector<std::vector<std::uint8_t>> values = {bytes(60, 1), bytes(extra, 2), bytes(0, 3),
                                                         bytes(95, 4), bytes(extra % 7, 5)};
        RowView parts;
        parts.columnCount = 12;
        parts.fixed = fixed;
        parts.nullMask = mask;
        for (const auto& value : values)
            parts.variable.emplace_back(value);
        std::vector<std::uint8_t> row = packRow(parts, format);
        SCOPED_TRACE("row of " + std::to_string(row.size()) + " bytes");
        RowView cracked = crackRow(row, format, true);
        expectSameParts(parts, cracked);
        EXPECT_EQ(packRow(cracked, format), row);
    }
}

TEST(JetCodecTest, Jet4RowsKeepTheirParts) {
    const JetFormat& format = JetFormat::version4();
    std::vector<std::uint8_t> fixed = bytes(12, 0x22);
    std::vector<std::uint8_t> padding = {0, 0};
    std::vector<std::uint8_t> mask = {0x05};
    std::vector<std::uint8_t> value = bytes(3000, 7);
    RowView parts;
    parts.columnCount = 3;
    parts.fixed = fixed;
    parts.variable = {value, std::span<const std::uint8_t>()};
    parts.padding = padding;
    parts.nullMask = mask;
    std::vector<std::uint8_t> row = packRow(parts, format);
    expectSameParts(parts, crackRow(row, format, true));

    RowView noVariables;
    noVariables.columnCount = 9;
    noVariables.hasVariableSection = false;
    noVariables.fixed = fixed;
    std::vector<std::uint8_t> wideMask = {0x01, 0x01};
    noVariables.nullMask = wideMask;
    row = packRow(noVariables, format);
    EXPECT_EQ(row.size(), 2u + 12u + 2u) << "no offset table at all";
    expectSameParts(noVariables, crackRow(row, format, false));
}

using Bytes = std::vector<std::uint8_t>;

// Jet4 keeps every character; its compressed form holds runs of one-byte characters between
// switches (0x00) and is used only when it is shorter and no character's low byte is 0.
TEST(JetCodecTest, Jet4TextKeepsEveryCharacterCompressedWhenItSaves) {
    EXPECT_EQ(utf8ToJet4Text("abc", true), (Bytes{0xFF, 0xFE, 'a', 'b', 'c'}));
    EXPECT_EQ(utf8ToJet4Text("abc", false), (Bytes{'a', 0, 'b', 0, 'c', 0}));
    EXPECT_EQ(utf8ToJet4Text("ab", true), (Bytes{'a', 0, 'b', 0}))
        << "two characters take no more room plain";
    EXPECT_EQ(utf8ToJet4Text("caf\u00e9 \u20ac 5.00", true),
              (Bytes{0xFF, 0xFE, 'c', 'a', 'f', 0xE9, ' ', 0x00, 0xAC, 0x20, 0x00, ' ', '5', '.',
                     '0', '0'}))
        << "the euro sign in a run of its own";
    EXPECT_EQ(utf8ToJet4Text("a\u20acb", true), (Bytes{'a', 0, 0xAC, 0x20, 'b', 0}))
        << "switching would take more room";
    EXPECT_EQ(utf8ToJet4Text("abcdef\u0100", true).size(), 14u)
        << "U+0100 would read as a switch: plain";
    for (const char* text : {"", "x", "caf\u00e9 au lait", "\u20ac 5.00", "quote \" and tab\t",
                             "\u0141ukasz \u017b\u00f3\u0142\u0107", "\u041c\u0438\u0440",
                             "\u6f22\u5b57\u4eee\u540d\u4ea4\u3058\u308a\u6587",
                             "clef \U0001D11E, then text", "\u0100\u0100 abcdefgh"})
        for (bool compress : {true, false})
            EXPECT_EQ(jet4TextToUtf8(utf8ToJet4Text(text, compress)), text) << text;

    Bytes mixed = {0xFF, 0xFE, 'A', 0x00, 0x1F, 0x04, 0x00, 'B'};
    EXPECT_EQ(jet4TextToUtf8(mixed), "A\u041fB");
    Bytes controls = {0xFF, 0xFE, 'a', 0x85, 'b', 0x00, 'c', 0x00};
    EXPECT_EQ(jet4TextToUtf8(controls), "a\u0085bc") << "a C1 control inside a one-byte run";
    Bytes surrogates = {0x3D, 0xD8, 0x00, 0xDE, 'x', 0, 0x3D, 0xD8};
    EXPECT_EQ(jet4TextToUtf8(surrogates), "\U0001F600x\uFFFD") << "a pair, then half of one";
}

TEST(JetCodecTest, Jet3TextIsWindows1252OrNothing) {
    EXPECT_EQ(utf8ToJet3Text("caf\u00e9 \u20ac \u0081"),
              (Bytes{'c', 'a', 'f', 0xE9, ' ', 0x80, ' ', 0x81}));
    EXPECT_EQ(utf8ToJet3Text("\u0141\u00f3d\u017a"), std::nullopt);
    EXPECT_EQ(utf8ToJet3Text("bad \xE9"), std::nullopt) << "not UTF-8";
    Bytes stored = {0x80, 0xE9, 0x8D, 'x'};
    EXPECT_EQ(jet3TextToUtf8(stored), "\u20ac\u00e9\u008dx");
}

using Key = std::vector<std::uint8_t>;

Key textKey(const std::string& text, bool jet4) {
    Key key;
    appendTextKey(text, jet4, key);
    return key;
}

// Keys spelled out byte by byte from the codes Access gives these characters: the accent run
// of Jet3 gives no place to letters without accented forms, Jet4 knows the characters of
// Windows-1252 beyond the first 256 code points, and the dashes go to the list of
// characters keyed last.
TEST(JetCodecTest, TextKeysAreTheOnesAccessWrites) {
    // P r z take no place in the accent run: only the acute of e, then the closing zeros.
    EXPECT_EQ(textKey("P\u00e9rez", false), (Key{0x73, 0x66, 0x75, 0x66, 0x7E, 0x04, 0x00}));
    // Before the accented letter, an unaccented a takes a place (2); the digit takes none.
    EXPECT_EQ(textKey("a1\u00e9", false), (Key{0x60, 0x57, 0x66, 0x02, 0x40}));
    EXPECT_EQ(textKey("\u20ac", true), (Key{0x35, 0xA1, 0x01, 0x00})) << "the euro sign";
    EXPECT_EQ(textKey("O\u2019", true), (Key{0x64, 0x2B, 0x38, 0x01, 0x00}))
        << "the typographic apostrophe has a primary code, unlike the plain one";
    EXPECT_EQ(textKey("a\u2013b", true),
              (Key{0x4A, 0x4C, 0x01, 0x01, 0x01, 0x01, 0x80, 0x0B, 0x06, 0x89, 0x00}))
        << "the en dash is keyed last, after the two letters";
    EXPECT_EQ(textKey("\u0160", true), (Key{0x6B, 0x01, 0x14, 0x00})) << "S with caron";
    EXPECT_EQ(textKey("\u0153", true), textKey("\u0152", true)) << "oe ligature in both cases";
    EXPECT_EQ(textKey("\u0192", true), (Key{0x53, 0x01, 0x7B, 0x00})) << "f with hook";

    for (bool jet4 : {false, true}) {
        SCOPED_TRACE(jet4 ? "Jet4" : "Jet3");
        EXPECT_EQ(textKey("row7   ", jet4), textKey("row7", jet4)) << "trailing blanks";
        EXPECT_NE(textKey(" row7", jet4), textKey("row7", jet4)) << "leading blanks count";
        EXPECT_EQ(textKey("   ", jet4), textKey("", jet4));
        std::string longText(300, 'x');
        EXPECT_EQ(textKey(longText, jet4), textKey(longText.substr(0, 255), jet4));
        EXPECT_EQ(textKey(longText.substr(0, 254) + "  y", jet4),
                  textKey(longText.substr(0, 254), jet4))
            << "the 255th character a blank, the rest not keyed";
        EXPECT_EQ(textKey("\u00c9CLAIR", jet4), textKey("\u00e9clair", jet4));
        EXPECT_LT(textKey("eclair", jet4), textKey("\u00e9clair", jet4));
        EXPECT_LT(textKey("\u00e9clair", jet4), textKey("f", jet4));
        // A character no code is known for still has a place of its own: after the others.
        EXPECT_EQ(textKey("\u041c\u0438\u0440", jet4), textKey("\u041c\u0438\u0440", jet4));
        EXPECT_NE(textKey("\u041c\u0438\u0440", jet4), textKey("\u041c\u0438\u0441", jet4));
        EXPECT_LT(textKey("zzz", jet4), textKey("\u0141\u00f3d\u017a", jet4));
        EXPECT_LT(textKey("\u0141\u00f3d\u017a", jet4), textKey("\u0141\u00f3d\u017a!", jet4));
    }
    // Every character of Windows-1252 has a code an index can hold.
    for (int c = 1; c < 256; ++c) {
        Key key;
        std::vector<std::uint16_t> units = {static_cast<std::uint16_t>(
            mdbengine::windows1252ToCodePoint(static_cast<std::uint8_t>(c)))};
        EXPECT_TRUE(appendJet4TextKey(units, key)) << c;
    }
    std::vector<std::uint16_t> hiragana = {'a', 0x3042};
    Key unknown = {0xAA};
    char32_t uncoded = 0;
    EXPECT_FALSE(appendJet4TextKey(hiragana, unknown, &uncoded));
    EXPECT_EQ(unknown, Key{0xAA}) << "left as it was";
    EXPECT_EQ(uncoded, U'\u3042');
    // A character beyond U+FFFF is named whole, and a message names it in UTF-8; half of a
    // pair (a damaged text) by its number alone.
    std::vector<std::uint16_t> emoji = {'a', 0xD83D, 0xDE00};
    EXPECT_FALSE(appendJet4TextKey(emoji, unknown, &uncoded));
    EXPECT_EQ(uncoded, U'\U0001F600');
    EXPECT_EQ(mdbengine::describeCharacter(uncoded), "'\U0001F600' (U+1F600)");
    std::vector<std::uint16_t> half = {0xD83D, 'a'};
    EXPECT_FALSE(appendJet4TextKey(half, unknown, &uncoded));
    EXPECT_EQ(mdbengine::describeCharacter(uncoded), "U+D83D");
}

// A Jet3 property value as Access lays it out: the names, then a block for a column with
// its Required flag and a caption. Cut short anywhere, it gives what it holds up to the cut.
TEST(JetCodecTest, TablePropertiesGiveTheRequiredColumns) {
    auto le16 = [](Key& out, std::size_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto le32 = [&](Key& out, std::size_t v) {
        le16(out, v & 0xFFFF);
        le16(out, v >> 16);
    };
    auto text = [](Key& out, const std::string& s) { out.insert(out.end(), s.begin(), s.end()); };
    auto block = [&](Key& out, std::uint16_t kind, const Key& contents) {
        le32(out, contents.size() + 6);
        le16(out, kind);
        out.insert(out.end(), contents.begin(), contents.end());
    };
    Key names;
    for (const std::string name : {"Caption", "Required"}) {
        le16(names, name.size());
        text(names, name);
    }
    auto column = [&](const std::string& name, std::uint8_t required) {
        Key contents;
        le32(contents, 6 + name.size());
        le16(contents, name.size());
        text(contents, name);
        contents.insert(contents.end(), {9, 0, 0, 1, 1, 0, 1, 0, required}); // Required
        contents.insert(contents.end(), {11, 0, 0, 10, 0, 0, 3, 0});         // Caption
        text(contents, "abc");
        return contents;
    };
    Key blob = {'K', 'K', 'D', 0};
    block(blob, 0x80, names);
    block(blob, 0x01, column("ZIP", 1));
    block(blob, 0x01, column("NAME", 0));
    block(blob, 0x01, column("CITY", 0xFF));
    EXPECT_EQ(requiredColumns(blob, false), (std::vector<std::string>{"ZIP", "CITY"}));
    for (std::size_t cut = 0; cut < blob.size(); ++cut) {
        std::vector<std::string> read = requiredColumns(std::span(blob).first(cut), false);
        EXPECT_LE(read.size(), 2u) << cut;
        if (!read.empty()) {
            EXPECT_EQ(read[0], "ZIP") << cut;
        }
    }
}

} // namespace
