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

// Everything a report can read of a sorted mailing, as text, record by record.
std::vector<std::string> rowsOf(const SortedMailing& m) {
    std::vector<std::string> rows = {std::string(m.mailClass().code()) + " " +
                                     std::to_string(m.recordCount()) + " " +
                                     std::to_string(m.rejectedCount())};
    for (size_t k = 0; k < m.containers().size(); ++k) {
        const Container& c = m.containers()[k];
        std::string groups;
        for (int32_t g : m.sortGroupsIn(k))
            groups += " " + std::to_string(g);
        rows.push_back("tray " + c.label() + " " + c.destination + " " + std::to_string(c.pieces) +
                       " kind " + std::to_string(int(c.kind)) + " " +
                       std::string(entryText(c.entry)) + " " + std::string(levelText(c.level)) +
                       " :" + groups);
    }
    for (size_t g = 0; g < m.sortGroups().size(); ++g) {
        const SortGroup& s = m.sortGroups()[g];
        std::string zips;
        for (int32_t z : m.zipGroupsOf(g))
            zips += " " + std::to_string(z);
        rows.push_back("group " + s.label() + " " + s.keyText() + " " + std::to_string(s.pieces) +
                       " kind " + std::to_string(int(s.kind)) + " " +
                       std::to_string(s.nonbarcoded) + " " + std::to_string(s.container) + " :" +
                       zips);
    }
    for (const ZipGroup& zg : m.zipGroups())
        rows.push_back("zip " + std::to_string(zg.zip) + " " + std::to_string(zg.pieces) + " " +
                       std::to_string(zg.inCounty) + " " + std::to_string(zg.owner));
    for (size_t r = 0; r < m.pieces().size(); ++r) {
        const Piece& p = m.pieces()[r];
        if (p.rejected())
            rows.push_back("rejected " + std::to_string(r) + " " + std::to_string(p.zip) + " " +
                           std::to_string(int(p.rejection)) + " " + m.cities().text(p.city));
    }
    return rows;
}

} // namespace

TEST(SortedMailing, TheSortReadBackIsTheSortJustMade) {
    test::PresortHarness h;
    h.mailClass(4, 1); // co-sacked Standard flats: nonbarcoded groups too
    h.pieces("01234x130, -01234x20, 75201x40/3@DALLAS TX, !75299x2@PLANO TX, 14001x12");
    SortedMailing sorted = test::runPresort(h.work, h.ctx);
    std::vector<std::string> fresh = rowsOf(sorted);
    ASSERT_GT(sorted.containers().size(), 1u);
    EXPECT_EQ(sorted.pieceCount(), 202);
    EXPECT_EQ(sorted.rejectedCount(), 2);

    h.work.tables = {};
    h.work.counters = MailingCounters{};
    h.work.mailClass = MailClass{};
    std::optional<SortedMailing> reloaded = test::loadSortResults(h.work, h.ctx);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(rowsOf(*reloaded), fresh);
}

TEST(SortedMailing, LinksToNoRecordAreNoLinks) {
    test::PresortHarness h;
    test::setTables(h.work, {{1234, 5, 0, 1}, {1235, 4, 0, 7}}, {{5, "5D 01234", 1}, {4, "MA", 9}},
                    {9});
    SortedMailing m = test::mailingOf(h.work, h.ctx.lists);
    EXPECT_EQ(m.sortGroupsIn(0), (std::vector<int32_t>{0}));
    EXPECT_EQ(m.zipGroupsOf(0), (std::vector<int32_t>{0}));
    EXPECT_TRUE(m.zipGroupsOf(1).empty());
    EXPECT_EQ(m.containerOf(m.sortGroups()[0]), &m.containers()[0]);
    EXPECT_EQ(m.containerOf(m.sortGroups()[1]), nullptr);
    EXPECT_THROW(m.sortGroupsIn(1), std::out_of_range);
    EXPECT_THROW(m.zipGroupsOf(2), std::out_of_range);
}
