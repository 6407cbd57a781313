// Seeded random mailings over the test geography, for every class code, tray type, entry
// type and weight setting: every presort runs to its end and leaves tables that hold
// together. QUILLAN_PRESORT_LISTS sets the lists per class code (200 by default; "make
// presort-long" runs 5,000).

#include "core/Convert.h"
#include "core/MailClass.h"
#include "core/PostalCharts.h"
#include "core/SortResults.h"
#include "core/presort/PresortDriver.h"
#include "tests/core/presort/LiteralLevels.h"
#include "tests/core/presort/PresortHarness.h"
#include "tests/support/MailingOf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

using namespace quillan;
using test::PresortHarness;

namespace {

struct ClassSetting {
    const char* code;
    int category, size;
};

constexpr ClassSetting classes[] = {{"RML", 0, 0}, {"RNML", 1, 0}, {"RNAF", 2, 1}, {"RAL", 3, 0},
                                    {"RAF", 3, 1}, {"RCOF", 4, 1}, {"PNAL", 5, 0}, {"PNAF", 5, 1},
                                    {"PAL", 6, 0}, {"PAF", 6, 1},  {"PCOF", 7, 1}, {"FAL", 8, 0}};

int listsPerClass() {
    const char* text = std::getenv("QUILLAN_PRESORT_LISTS");
    return text ? std::max(1, std::atoi(text)) : 200;
}

std::vector<int> servedPrefixes(const AppContext& ctx) {
    std::vector<int> prefixes;
    for (int p = 1; p <= 999; ++p)
        if (chartValue(ctx.lists.threeDigitChart, p) != 0)
            prefixes.push_back(p);
    return prefixes;
}

// Sets the class and the settings of list `index` and fills a random list of about
// `records` records.
void prepare(PresortHarness& h, const ClassSetting& cls, int index, int records,
             std::mt19937& random) {
    AppContext& ctx = h.ctx;
    Mailing& mailing = h.work;
    mailing.tables = {};
    mailing.counters = MailingCounters{};
    auto pick = [&](auto options) {
        return options[std::uniform_int_distribution<size_t>(0, options.size() - 1)(random)];
    };
    h.mailClass(cls.category, cls.size);
    h.mailType({{8, index % 2 == 0 ? "0" : "1"},
                {4, (index / 6) % 2 == 0 ? "0" : "1"},
                {5, pick(std::vector<std::string>{"1", "1.92", "3", "8", "16"})},
                {9, pick(std::vector<std::string>{"70", "20"})}});
    auto [line6, line7] = pick(std::vector<std::pair<const char*, const char*>>{
        {"405", "504"}, {"405", "504"}, {"120", "150"}, {"10", "14"}, {"50", "30"}});
    h.mailType({{6, line6}, {7, line7}});
    ctx.lists.mailerList[4] = std::to_string((index / 2) % 3);
    ctx.lists.periodicalList[6] = pick(std::vector<std::string>{"6", "24", "60"});

    std::vector<int> served = servedPrefixes(ctx);
    std::shuffle(served.begin(), served.end(), random);
    size_t used = std::uniform_int_distribution<size_t>(1, 10)(random);
    int locals = std::uniform_int_distribution<int>(1, 25)(random);
    // Skewed choices, so that some ZIP codes and prefixes fill trays and sacks.
    std::geometric_distribution<size_t> prefixOf(0.35);
    std::geometric_distribution<int> localOf(0.2);
    std::bernoulli_distribution rejected(0.02), noZip4(0.3), inCounty(0.1);
    bool coSacked = MailClass::fromCode(cls.code)->isCoSacked();
    for (int r = 0; r < records; ++r) {
        int prefix = served[std::min(prefixOf(random), used - 1)];
        Piece piece{.zip = prefix * 100 + std::min(localOf(random), locals - 1) + 1};
        if (rejected(random)) {
            piece.rejection = ZipRejection::Form;
            ++mailing.counters.rejectedCount;
        } else if (coSacked && noZip4(random)) {
            piece.withoutZip4 = true;
            ++mailing.counters.missingZip4Count;
        }
        piece.inCounty = inCounty(random);
        mailing.tables.pieces.push_back(piece);
    }
}

void expectSoundSort(const PresortHarness& h, const std::string& code, const std::string& what) {
    SCOPED_TRACE(what);
    const WorkTables& t = h.work.tables;
    h.expectConsistent();
    EXPECT_EQ(h.placedPieces(), h.work.validPieces());
    for (size_t z = 0; z < t.zipGroups.size(); ++z)
        ASSERT_TRUE(t.zipGroups[z].placed()) << "ZIP group " << z;
    for (size_t g = 0; g < t.sortGroups.size(); ++g)
        ASSERT_TRUE(t.sortGroups[g].contained()) << "group " << g;
    if (MailClass::fromCode(code)->isFlats())
        return;
    // A letter tray over full holds only the parts of one group that could not be split.
    int32_t full = strToInt(h.ctx.lists.mailTypeList[7]);
    std::vector<std::set<std::string>> labels(t.containers.size());
    for (const SortGroup& group : t.sortGroups)
        labels[static_cast<size_t>(group.container)].insert(group.label());
    for (size_t k = 0; k < t.containers.size(); ++k)
        if (t.containers[k].pieces > full) {
            EXPECT_EQ(labels[k].size(), 1u) << "tray " << k;
        }
}

} // namespace

class PresortProperties : public ::testing::TestWithParam<ClassSetting> {};

TEST_P(PresortProperties, EveryPieceInExactlyOneGroupAndContainer) {
    const ClassSetting& cls = GetParam();
    PresortHarness h;
    std::mt19937 random(static_cast<unsigned>(cls.category * 31 + cls.size));
    for (int index = 0; index < listsPerClass(); ++index) {
        int records = std::uniform_int_distribution<int>(1, 600)(random);
        prepare(h, cls, index, records, random);
        test::runPresort(h.work, h.ctx);
        ASSERT_EQ(h.work.mailClass.code(), cls.code);
        expectSoundSort(h, cls.code, std::string(cls.code) + " list " + std::to_string(index));
        if (::testing::Test::HasFailure())
            return;
    }
}

// A kind or key read back as another would make a reprint's tags and reports differ from
// the ones printed after the sort: the file holds only the texts, and they must give back
// every record the presort made.
TEST_P(PresortProperties, SortResultFileGivesBackTheKindsTheSortMade) {
    const ClassSetting& cls = GetParam();
    PresortHarness h;
    std::mt19937 random(static_cast<unsigned>(cls.category * 31 + cls.size));
    for (int index = 0; index < listsPerClass(); ++index) {
        int records = std::uniform_int_distribution<int>(1, 600)(random);
        prepare(h, cls, index, records, random);
        test::runPresort(h.work, h.ctx); // saves the sort-result file
        const WorkTables sorted = h.work.tables;
        ASSERT_TRUE(test::loadSortResults(h.work, h.ctx));
        SCOPED_TRACE(std::string(cls.code) + " list " + std::to_string(index));
        EXPECT_EQ(h.work.tables.zipGroups, sorted.zipGroups);
        EXPECT_EQ(h.work.tables.sortGroups, sorted.sortGroups);
        EXPECT_EQ(h.work.tables.containers, sorted.containers);
        if (::testing::Test::HasFailure())
            return;
    }
}

TEST_P(PresortProperties, IndexedLevelsGiveTheTablesOfTheLiteralOnes) {
    const ClassSetting& cls = GetParam();
    PresortHarness fast, literal;
    for (int index = 0; index < 4; ++index) {
        std::mt19937 a(static_cast<unsigned>(1000 + index)), b(static_cast<unsigned>(1000 + index));
        prepare(fast, cls, index, 2000, a);
        prepare(literal, cls, index, 2000, b);
        test::runPresort(fast.work, fast.ctx);
        RunPresortWith(literal.presort(), test::literalLevels());
        SCOPED_TRACE(std::string(cls.code) + " list " + std::to_string(index));
        EXPECT_TRUE(fast.work.tables == literal.work.tables);
        EXPECT_EQ(fast.work.counters.placedPieces, literal.work.counters.placedPieces);
        EXPECT_EQ(fast.work.counters.piecesDone, literal.work.counters.piecesDone);
        if (::testing::Test::HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(AllClasses, PresortProperties, ::testing::ValuesIn(classes),
                         [](const auto& info) { return std::string(info.param.code); });
