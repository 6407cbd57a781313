// ZIP texts and the values they give, under the mail types and the ZIP+4 preference.

#include "listio/ZipParser.h"
#include "tests/listio/ListTestSupport.h"
#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;

namespace {

struct Parse : ListFixture {
    Parse() {
        // Prefix 001 is unserved in the national chart; serve it to test the low edge.
        setLine(&SettingsLists::threeDigitChart, 1, "1");
        setLine(&SettingsLists::mailTypeList, 1, "0");
    }
    Piece piece(std::string& text) {
        return ZipParser(ctx().lists, reading.mailing.counters).parse(text);
    }
    // The piece as one number, the ZIP, minus the ZIP without ZIP+4, code * 100000 - ZIP
    // rejected (tests/support/SortTables.h).
    int32_t zip(std::string text) {
        WorkTables t;
        t.pieces.push_back(piece(text));
        return zipValues(t)[0];
    }
};

} // namespace

TEST(ZipParser, AcceptedFormsGiveTheFiveDigitZip) {
    Parse p;
    for (const char* text : {"75201", "  75201  ", "75201-", "752011234", "75201-1234"})
        EXPECT_EQ(p.zip(text), 75201) << text;
    EXPECT_EQ(p.zip("00100"), 100);
    EXPECT_EQ(p.reading.mailing.counters.rejectedCount, 0);
}

TEST(ZipParser, MalformedTextsAreRejectedWithCodeTwo) {
    Parse p;
    EXPECT_EQ(p.zip("7520"), -207520);
    EXPECT_EQ(p.zip("00099"), -200099);
    EXPECT_EQ(p.zip("12345 6789"), -212345);
    EXPECT_EQ(p.zip("75201-12"), -275201);
    EXPECT_EQ(p.zip("7520X"), -207520);
    EXPECT_EQ(p.zip(""), -200000);
    EXPECT_EQ(p.zip("   "), -200000);
    EXPECT_EQ(p.zip("ABCDE"), -200000);
    EXPECT_EQ(p.reading.mailing.counters.rejectedCount, 8);
}

TEST(ZipParser, TrimsTheCallersText) {
    Parse p;
    std::string text = "  75201 ";
    p.piece(text);
    EXPECT_EQ(text, "75201");
    text = "   ";
    p.piece(text);
    EXPECT_EQ(text, " ");
}
TEST(ZipParser, UnservedPrefixIsRejectedWithCodeSix) {
    Parse p;
    ASSERT_EQ(p.ctx().lists.threeDigitChart[2], "0");
    EXPECT_EQ(p.zip("00234"), -600234);
    EXPECT_EQ(p.zip("00234-5678"), -600234);
}

TEST(ZipParser, AutomationWithoutZip4IsRejectedOnlyWhenThePreferenceSaysSo) {
    Parse p;
    for (const char* type : {"3", "6", "8"}) {
        p.setLine(&SettingsLists::mailTypeList, 1, type);
        p.setLine(&SettingsLists::prefsList, 5, "0");
        EXPECT_EQ(p.zip("75201"), -775201) << type;
        EXPECT_EQ(p.zip("75201-"), -775201);
        EXPECT_EQ(p.zip("75201-1234"), 75201);
        EXPECT_EQ(p.zip("752011234"), 75201);
        // An unserved prefix still says so; a bad text still says it is bad.
        EXPECT_EQ(p.zip("00234"), -600234);
        EXPECT_EQ(p.zip("ABC"), -200000);
        p.setLine(&SettingsLists::prefsList, 5, "1");
        EXPECT_EQ(p.zip("75201"), 75201);
    }
}

TEST(ZipParser, CoSackedFiveDigitZipIsNegatedAndCounted) {
    Parse p;
    for (const char* type : {"4", "7"}) {
        p.setLine(&SettingsLists::mailTypeList, 1, type);
        p.reading.mailing.counters = {};
        EXPECT_EQ(p.zip("01234"), -1234);
        EXPECT_EQ(p.zip("75201-"), -75201);
        EXPECT_EQ(p.zip("75201-1234"), 75201);
        EXPECT_EQ(p.zip("7520"), -207520);
        EXPECT_EQ(p.reading.mailing.counters.missingZip4Count, 2);
        EXPECT_EQ(p.reading.mailing.counters.rejectedCount, 1);
    }
}
