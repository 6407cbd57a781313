#include "tests/listio/LiteralPresortWalk.h"

#include <cstdlib>

namespace quillan::test {

std::vector<PlacedPiece> literalPresortOrder(const TestMailing& mailing,
                                             const SettingsLists& lists) {
    const WorkTables& t = mailing.tables;
    const MailingCounters& n = mailing.counters;
    const std::string code(mailing.mailClass.code());
    const bool coSacked = code == "PCOF" || code == "RCOF";
    const bool periodicals = code[0] == 'P' && lists.periodicalList[4] != "f";
    std::vector<bool> taken(static_cast<size_t>(n.recordCount) + 1);
    std::vector<PlacedPiece> order;
    const int32_t containers = static_cast<int32_t>(t.containers.size());
    const int32_t groups = static_cast<int32_t>(t.sortGroups.size());
    const int32_t zips = static_cast<int32_t>(t.zipGroups.size());
    for (int32_t c = 0; c < containers; ++c)
        for (int32_t g = 0; g < groups; ++g) {
            const SortGroup& group = t.sortGroups[static_cast<size_t>(g)];
            if (group.container != c)
                continue;
            for (int32_t z = 0; z < zips; ++z) {
                const ZipGroup& zip = t.zipGroups[static_cast<size_t>(z)];
                if (zip.owner != g)
                    continue;
                int32_t got = 0;
                for (int32_t r = 1; r <= n.recordCount; ++r) {
                    int32_t v = t.pieceZips[r];
                    bool qualifies =
                        std::abs(v % 100000) == std::abs(zip.zip) && !taken[r] && v > -100000;
                    if (coSacked)
                        qualifies = qualifies && (group.nonbarcoded ? v < 0 : v > 0);
                    if (periodicals && got < zip.inCounty)
                        qualifies = qualifies && t.pieceInCounty[r] == 1;
                    if (!qualifies)
                        continue;
                    order.push_back({r, z, g, c});
                    taken[r] = true;
                    ++got;
                    if (got == zip.pieces)
                        break;
                    if (got == zip.inCounty)
                        r = 0; // the loop's increment starts the scan again at record 1
                }
            }
        }
    return order;
}

} // namespace quillan::test
