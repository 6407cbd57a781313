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
    for (int32_t c = 1; c <= n.containerCount - 1; ++c)
        for (int32_t g = 1; g <= n.sortGroupCount - 1; ++g) {
            if (t.sortGroupContainer[g] != c)
                continue;
            for (int32_t z = 1; z <= n.zipGroupCount; ++z) {
                if (t.zipGroupOwner[z] != g)
                    continue;
                int32_t got = 0;
                for (int32_t r = 1; r <= n.recordCount; ++r) {
                    int32_t v = t.pieceZips[r];
                    bool qualifies = std::abs(v % 100000) == std::abs(t.zipGroupZips[z]) &&
                                     !taken[r] && v > -100000;
                    if (coSacked) {
                        int32_t flag = t.sortGroupFlags[g];
                        qualifies = qualifies && ((flag == 1 && v < 0) || (flag == 0 && v > 0));
                    }
                    if (periodicals && got < t.zipGroupInCounty[z])
                        qualifies = qualifies && t.pieceInCounty[r] == 1;
                    if (!qualifies)
                        continue;
                    order.push_back({r, z, g, c});
                    taken[r] = true;
                    ++got;
                    if (got == t.zipGroupPieces[z])
                        break;
                    if (got == t.zipGroupInCounty[z])
                        r = 0; // the loop's increment starts the scan again at record 1
                }
            }
        }
    return order;
}

} // namespace quillan::test
