// The stored forms this engine writes: rows of every length around the 256-byte steps of
// Jet3's offset table, and Jet4 text, compressed or not.

#include "platform/dao/jet/JetFormat.h"
#include "platform/dao/jet/RowCodec.h"
#include "platform/dao/jet/TextCodec.h"

#include <gtest/gtest.h>
#include <vector>

using namespace platform::dao::jet;

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

} // namespace
