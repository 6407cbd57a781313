// The presort order walk: the in-county and co-sacked rules on small hand-made mailings,
// and agreement with the plain list-scanning walk on generated ones.

#include "listio/PresortOrder.h"
#include "core/Convert.h"
#include "tests/listio/LiteralPresortWalk.h"
#include "tests/support/MailingOf.h"
#include "tests/support/SortTables.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillan;
using namespace quillan::test;

namespace {

// A piece of a ZIP value: the ZIP, minus the ZIP without ZIP+4, -200000 - ZIP rejected.
Piece pieceOf(int32_t value, bool inCounty) {
    if (value <= -200000)
        return {.zip = -200000 - value, .rejection = ZipRejection::Form, .inCounty = inCounty};
    return {.zip = std::abs(value), .withoutZip4 = value < 0, .inCounty = inCounty};
}

struct PresortOrderTest : ::testing::Test {
    TestEnvironment env{geographyFolder()};
    AppContext& ctx = env.context();
    // The sort the test builds.
    test::TestMailing work;

    void SetUp() override { env.load(); }

    void records(const std::vector<std::pair<int32_t, const char*>>& pieces) {
        WorkTables& t = work.tables;
        t = {};
        for (const auto& [zip, inCounty] : pieces)
            t.pieces.push_back(pieceOf(zip, std::string_view(inCounty) == "t"));
    }
    // A ZIP group with its own sort group in the given tray (numbered from 1).
    void group(int32_t key, int32_t pieces, int32_t inCounty, int32_t tray,
               bool nonbarcoded = false) {
        WorkTables& t = work.tables;
        addZipGroup(t, key, pieces, inCounty, static_cast<int32_t>(t.sortGroups.size()) + 1);
        addSortGroup(t, nonbarcoded, pieces, "5D " + zeroPad(std::abs(key), 5), tray);
        while (t.containers.size() < static_cast<size_t>(tray))
            addContainer(t, 0, "", "None", "5-Digit");
    }
    // The records walked, by their numbers from 1.
    std::vector<int32_t> walkedRecords() {
        std::vector<int32_t> out;
        WalkPresortOrder(test::mailingOf(work, ctx.lists), {},
                         [&](const PlacedPiece& p) { out.push_back(p.record + 1); });
        return out;
    }
};

// The same for pieces already walked.
std::vector<int32_t> recordsOf(const std::vector<PlacedPiece>& pieces) {
    std::vector<int32_t> out;
    for (const auto& p : pieces)
        out.push_back(p.record + 1);
    return out;
}

} // namespace

TEST_F(PresortOrderTest, TraysComeInOrderAndInCountyPiecesLeadTheirGroup) {
    work.mailClass = *MailClass::fromCode("PNAF");
    ctx.lists.periodicalList[4] = "t";
    records({{75201, "f"}, {1234, "f"}, {75201, "t"}, {75201, "f"}, {75201, "t"}, {-200012, "f"}});
    group(75201, 4, 2, 2);
    group(1234, 1, 0, 1);
    EXPECT_EQ(walkedRecords(), (std::vector<int32_t>{2, 3, 5, 1, 4}));

    ctx.lists.periodicalList[4] = "f"; // in-county rates off: list order
    EXPECT_EQ(walkedRecords(), (std::vector<int32_t>{2, 1, 3, 4, 5}));
}

TEST_F(PresortOrderTest, CoSackedGroupsTakeTheirOwnSideOfAZip) {
    work.mailClass = *MailClass::fromCode("RCOF");
    records({{1234, "f"}, {-1234, "f"}, {1234, "f"}, {-1234, "f"}});
    group(1234, 2, 0, 1, false);
    group(-1234, 2, 0, 2, true);
    EXPECT_EQ(walkedRecords(), (std::vector<int32_t>{1, 3, 2, 4}));
    work.tables.sortGroups[1].nonbarcoded = false; // barcoded pieces of 1234 are all taken
    EXPECT_EQ(walkedRecords(), (std::vector<int32_t>{1, 3}));
}

TEST_F(PresortOrderTest, SplitZipGroupShareTheRecordsInListOrder) {
    work.mailClass = *MailClass::fromCode("RNAF");
    records({{75201, "f"}, {75201, "f"}, {75201, "f"}, {75201, "f"}, {75201, "f"}});
    group(75201, 2, 0, 2);
    group(75201, 3, 0, 1);
    auto pieces = std::vector<PlacedPiece>();
    WalkPresortOrder(test::mailingOf(work, ctx.lists), {},
                     [&](const PlacedPiece& p) { pieces.push_back(p); });
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(recordsOf(pieces), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(pieces[0].zipGroup, 1) << "the first tray holds the second group";
    EXPECT_EQ(pieces[3].zipGroup, 0);
    EXPECT_EQ(pieces[3].container, 1);
}

// Generated mailings: a ZIP pool small enough for groups to repeat, rejects, pieces
// without ZIP+4, in-county marks, ZIP groups split into up to three rows whose counts
// sometimes disagree with the records, sort groups in random trays.
TEST_F(PresortOrderTest, IndexedWalkAgreesWithTheListScanningWalk) {
    struct Case {
        const char* code;
        const char* inCountyRates;
    };
    const Case cases[] = {{"RNAF", "f"}, {"PNAF", "t"}, {"PAF", "f"},
                          {"RCOF", "f"}, {"PCOF", "t"}, {"PCOF", "f"}};
    for (unsigned seed = 1; seed <= 4; ++seed) {
        for (const Case& c : cases) {
            std::mt19937 random(seed);
            auto chance = [&](double p) {
                return std::uniform_real_distribution<>(0, 1)(random) < p;
            };
            auto pick = [&](int lo, int hi) {
                return std::uniform_int_distribution<>(lo, hi)(random);
            };
            work.mailClass = *MailClass::fromCode(c.code);
            ctx.lists.periodicalList[4] = c.inCountyRates;
            std::vector<int32_t> pool;
            for (int i = 0; i < 60; ++i)
                pool.push_back(pick(100, 99999));
            WorkTables& t = work.tables;
            t = {};
            std::map<int32_t, std::pair<int32_t, int32_t>> keys; // signed key -> pieces, in county
            for (int r = 1; r <= 2000; ++r) {
                int32_t zip = pool[static_cast<size_t>(pick(0, 59))];
                int32_t value = chance(0.08) ? -200000 - zip : chance(0.3) ? -zip : zip;
                bool inCounty = chance(0.25);
                t.pieces.push_back(pieceOf(value, inCounty));
                if (value > -100000) {
                    ++keys[value].first;
                    keys[value].second += inCounty;
                }
            }
            const int sortGroups = 40, trays = 15;
            for (int g = 1; g <= sortGroups; ++g)
                addSortGroup(t, false, 0, "MA", pick(1, trays));
            for (int i = 1; i <= trays; ++i)
                addContainer(t, 0, "", "None", "5-Digit");
            for (const auto& [key, counts] : keys) {
                int parts = pick(1, 3);
                int32_t pieces = counts.first, inCounty = counts.second;
                for (int part = 1; part <= parts; ++part) {
                    int32_t share = part == parts ? pieces : pick(0, pieces);
                    int32_t shareIn = part == parts ? inCounty : std::min(share, pick(0, inCounty));
                    if (chance(0.05))
                        share += pick(-2, 2); // counts that disagree with the records
                    int32_t g = pick(0, sortGroups - 1);
                    if (MailClass::fromCode(c.code)->isCoSacked())
                        t.sortGroups[static_cast<size_t>(g)].nonbarcoded = key < 0;
                    auto row = t.zipGroups.begin();
                    while (row != t.zipGroups.end() && std::abs(row->zip) <= std::abs(key))
                        ++row;
                    t.zipGroups.insert(row, ZipGroup{key, share, shareIn, g});
                    pieces -= std::min(pieces, std::max(share, 0));
                    inCounty -= std::min(inCounty, shareIn);
                }
            }

            std::vector<PlacedPiece> indexed;
            WalkPresortOrder(test::mailingOf(work, ctx.lists), {},
                             [&](const PlacedPiece& p) { indexed.push_back(p); });
            std::vector<PlacedPiece> literal = literalPresortOrder(work, ctx.lists);
            ASSERT_EQ(indexed.size(), literal.size()) << c.code << " seed " << seed;
            EXPECT_GT(literal.size(), 1000u);
            for (size_t i = 0; i < literal.size(); ++i) {
                const PlacedPiece &a = indexed[i], &b = literal[i];
                ASSERT_TRUE(a.record == b.record && a.zipGroup == b.zipGroup &&
                            a.sortGroup == b.sortGroup && a.container == b.container)
                    << c.code << " seed " << seed << " piece " << i << ": record " << a.record
                    << " vs " << b.record;
            }
        }
    }
}
