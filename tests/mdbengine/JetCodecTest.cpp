// The stored forms this engine writes: rows of every length around the 256-byte steps of
// Jet3's offset table, Jet4 text, compressed or not, and the index keys of text.

#include "mdbengine/pages/JetFormat.h"
#include "mdbengine/pages/TextCodec.h"
#include "mdbengine/tables/RowCodec.h"
#include "mdbengine/tables/TableProperties.h"
#include "mdbengine/tables/TextKey.h"

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

TEST(JetCodecTest, Jet4TextCompressedWhenItSaves) {
    EXPECT_EQ(ansiToJet4Text("abc", true), (std::vector<std::uint8_t>{0xFF, 0xFE, 'a', 'b', 'c'}));
    EXPECT_EQ(ansiToJet4Text("abc", false), (std::vector<std::uint8_t>{'a', 0, 'b', 0, 'c', 0}));
    EXPECT_EQ(ansiToJet4Text("ab", true), (std::vector<std::uint8_t>{'a', 0, 'b', 0}))
        << "two characters take no more room plain";
    // The euro sign has no one-byte form, so the text stays plain.
    EXPECT_EQ(ansiToJet4Text("a\x80"
                             "b",
                             true),
              (std::vector<std::uint8_t>{'a', 0, 0xAC, 0x20, 'b', 0}));
    for (const char* text : {"", "x", "caf\xE9 au lait", "\x80 5.00", "quote \" and tab\t"})
        for (bool compress : {true, false})
            EXPECT_EQ(jet4TextToAnsi(ansiToJet4Text(text, compress)), text);

    // Compressed text that switches to two-byte characters and back.
    std::vector<std::uint8_t> mixed = {0xFF, 0xFE, 'A', 0x00, 0x1F, 0x04, 0x00, 'B'};
    EXPECT_EQ(jet4TextToAnsi(mixed), "A?B");
    std::vector<std::uint8_t> controls = {0xFF, 0xFE, 'a', 0x85, 'b', 0x00, 'c', 0x00};
    EXPECT_EQ(jet4TextToAnsi(controls), "a?bc") << "a C1 control inside a one-byte run";
    std::vector<std::uint8_t> surrogatePair = {0x3D, 0xD8, 0x00, 0xDE, 'x', 0};
    EXPECT_EQ(jet4TextToAnsi(surrogatePair), "?x") << "one character, one question mark";
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
    EXPECT_EQ(textKey("P\xE9rez", false), (Key{0x73, 0x66, 0x75, 0x66, 0x7E, 0x04, 0x00}));
    // Before the accented letter, an unaccented a takes a place (2); the digit takes none.
    EXPECT_EQ(textKey("a1\xE9", false), (Key{0x60, 0x57, 0x66, 0x02, 0x40}));
    EXPECT_EQ(textKey("\x80", true), (Key{0x35, 0xA1, 0x01, 0x00})) << "the euro sign";
    EXPECT_EQ(textKey("O\x92", true), (Key{0x64, 0x2B, 0x38, 0x01, 0x00}))
        << "the typographic apostrophe has a primary code, unlike the plain one";
    EXPECT_EQ(textKey("a\x96"
                      "b",
                      true),
              (Key{0x4A, 0x4C, 0x01, 0x01, 0x01, 0x01, 0x80, 0x0B, 0x06, 0x89, 0x00}))
        << "the en dash is keyed last, after the two letters";
    EXPECT_EQ(textKey("\x8A", true), (Key{0x6B, 0x01, 0x14, 0x00})) << "S with caron";
    EXPECT_EQ(textKey("\x9C", true), textKey("\x8C", true)) << "oe ligature in both cases";
    EXPECT_EQ(textKey("\x83", true), (Key{0x53, 0x01, 0x7B, 0x00})) << "f with hook";

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
        EXPECT_EQ(textKey("\xC9"
                          "CLAIR",
                          jet4),
                  textKey("\xE9"
                          "clair",
                          jet4));
        EXPECT_LT(textKey("eclair", jet4), textKey("\xE9"
                                                   "clair",
                                                   jet4));
        EXPECT_LT(textKey("\xE9"
                          "clair",
                          jet4),
                  textKey("f", jet4));
        // Every Windows-1252 character has a key.
        for (int c = 1; c < 256; ++c) {
            Key key;
            appendTextKey(std::string(1, static_cast<char>(c)), jet4, key);
            EXPECT_FALSE(key.empty()) << c;
        }
    }
    std::vector<std::uint16_t> hiragana = {0x3042};
    Key unknown = {0xAA};
    EXPECT_FALSE(appendJet4TextKey(hiragana, unknown));
    EXPECT_EQ(unknown, Key{0xAA}) << "left as it was";
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
