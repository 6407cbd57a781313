// The finished sort as the reports read it: the same from the presort and from the
// sort-result file, and never reading rows the tables do not hold.

#include "core/SortedMailing.h"
#include "core/SortResults.h"
#include "core/presort/PresortDriver.h"
#include "tests/core/presort/PresortHarness.h"
#include "tests/support/MailingOf.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

// Everything a report can read of a sorted mailing, as text, row by row.
std::vector<std::string> rowsOf(const SortedMailing& m) {
    std::vector<std::string> rows = {std::string(m.mailClass().code()) + " " +
                                     std::to_string(m.recordCount()) + " " +
                                     std::to_string(m.rejectedCount())};
    for (int32_t k = 1; k <= m.containerCount(); ++k) {
        SortedMailing::Container c = m.container(k);
        std::string groups;
        for (int32_t g : m.sortGroupsIn(k))
            groups += " " + std::to_string(g);
        rows.push_back("tray " + std::string(c.label) + " " + std::string(c.destination) + " " +
                       std::to_string(c.pieces) + " kind " + std::to_string(int(c.kind)) + " " +
                       std::string(entryText(c.entry)) + " " + std::string(levelText(c.level)) +
                       " :" + groups);
    }
    for (int32_t g = 1; g <= m.sortGroupCount(); ++g) {
        SortedMailing::SortGroup s = m.sortGroup(g);
        std::string zips;
        for (int32_t z : m.zipGroupsOf(g))
            zips += " " + std::to_string(z);
        rows.push_back("group " + std::string(s.label) + " " + std::string(s.key) + " " +
                       std::to_string(s.pieces) + " kind " + std::to_string(int(s.kind)) + " " +
                       std::to_string(s.nonbarcoded) + " " + std::to_string(s.container) + " :" +
                       zips);
    }
    for (int32_t z = 1; z <= m.zipGroupCount(); ++z) {
        SortedMailing::ZipGroup zg = m.zipGroup(z);
        rows.push_back("zip " + std::to_string(zg.zip) + " " + std::to_string(zg.pieces) + " " +
                       std::to_string(zg.inCounty) + " " + std::to_string(zg.owner));
    }
    for (const SortedMailing::RejectedRecord& r : m.rejectedRecords())
        rows.push_back("rejected " + std::to_string(r.record) + " " + std::to_string(r.zipValue) +
                       " " + std::string(r.city));
    return rows;
}

} // namespace

TEST(SortedMailing, TheSortReadBackIsTheSortJustMade) {
    test::PresortHarness h;
    h.mailClass(4, 1); // co-sacked Standard flats: nonbarcoded groups too
    h.pieces("01234x130, -01234x20, 75201x40/3@DALLAS TX, !75299x2@PLANO TX, 14001x12");
    SortedMailing sorted = test::runPresort(h.work, h.ctx);
    std::vector<std::string> fresh = rowsOf(sorted);
    ASSERT_GT(sorted.containerCount(), 1);
    EXPECT_EQ(sorted.pieceCount(), 202);
    EXPECT_EQ(sorted.rejectedRecords().size(), 2u);

    h.work.tables.seed(false);
    h.work.counters = MailingCounters{};
    h.work.mailClass = MailClass{};
    std::optional<SortedMailing> reloaded = test::loadSortResults(h.work, h.ctx);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(rowsOf(*reloaded), fresh);
}

TEST(SortedMailing, CountsAreCutToTheRowsTheTablesHold) {
    test::PresortHarness h;
    test::setTables(h.work, {{1234, 5, 0, 1}, {1235, 4, 0, 2}}, {{5, "5D 01234", 1}, {4, "MA", 1}},
                    {9});
    h.work.counters.containerCount = 9;
    h.work.counters.sortGroupCount = 7;
    h.work.counters.zipGroupCount = 5;
    SortedMailing m = test::mailingOf(h.work, h.ctx.lists);
    EXPECT_EQ(m.containerCount(), 1);
    EXPECT_EQ(m.sortGroupCount(), 2);
    EXPECT_EQ(m.zipGroupCount(), 2);
    EXPECT_EQ(m.sortGroupsIn(1), (std::vector<int32_t>{1, 2}));
    EXPECT_THROW(m.container(2), std::out_of_range);
    EXPECT_THROW(m.sortGroup(0), std::out_of_range);
    EXPECT_THROW(m.zipGroupsOf(3), std::out_of_range);
}
