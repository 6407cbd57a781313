#include "tests/listio/LiteralPresortWalk.h"

#include <cstdlib>

namespace quillan::test {

std::vector<PlacedPiece> literalPresortOrder(const AppContext& ctx) {
    const WorkTables& t = ctx.tables;
    const MailingCounters& n = ctx.counters;
    const bool coSacked = ctx.MailClassCode == "PCOF" || ctx.MailClassCode == "RCOF";
    const bool periodicals = ctx.MailClassCode[0] == 'P' && ctx.lists.PeriodicalList[4] != "f";
    std::vector<bool> taken(static_cast<size_t>(n.RecordCount) + 1);
    std::vector<PlacedPiece> order;
    for (int32_t c = 1; c <= n.ContainerCount - 1; ++c)
        for (int32_t g = 1; g <= n.SortGroupCount - 1; ++g) {
            if (t.SortGroupContainer[g] != c)
                continue;
            for (int32_t z = 1; z <= n.ZipGroupCount; ++z) {
                if (t.ZipGroupOwner[z] != g)
                    continue;
                int32_t got = 0;
                for (int32_t r = 1; r <= n.RecordCount; ++r) {
                    int32_t v = t.PieceZips[r];
                    bool qualifies = std::abs(v % 100000) == std::abs(t.ZipGroupZips[z]) &&
                                     !taken[r] && v > -100000;
                    if (coSacked) {
                        int32_t flag = t.SortGroupFlags[g];
                        qualifies = qualifies && ((flag == 1 && v < 0) || (flag == 0 && v > 0));
                    }
                    if (periodicals && got < t.ZipGroupInCounty[z])
                        qualifies = qualifies && t.PieceInCounty[r] == "t";
                    if (!qualifies)
                        continue;
                    order.push_back({r, z, g, c});
                    taken[r] = true;
                    ++got;
                    if (got == t.ZipGroupPieces[z])
                        break;
                    if (got == t.ZipGroupInCounty[z])
                        r = 0; // the loop's increment starts the scan again at record 1
                }
            }
        }
    return order;
}

} // namespace quillan::test
