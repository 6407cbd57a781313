#include "tests/listio/LiteralPresortWalk.h"

#include <cstdlib>

namespace quillan::test {

std::vector<PlacedPiece> literalPresortOrder(const TestMailing& mailing,
                                             const SettingsLists& lists) {
    const WorkTables& t = mailing.tables;
    const std::string code(mailing.mailClass.code());
    const bool coSacked = code == "PCOF" || code == "RCOF";
    const bool periodicals = code[0] == 'P' && lists.periodicalList[4] != "f";
    const int32_t records = mailing.recordCount();
    std::vector<bool> taken(static_cast<size_t>(records));
    // What the scan compares of each record, copied once so that every scan of the list
    // runs over a few bytes a record.
    struct Scanned {
        int32_t zip;
        bool rejected, withoutZip4, inCounty;
    };
    std::vector<Scanned> list;
    for (const Piece& piece : t.pieces)
        list.push_back({piece.zip, piece.rejected(), piece.withoutZip4, piece.inCounty});
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
                for (int32_t r = 0; r < records; ++r) {
                    const Scanned& piece = list[static_cast<size_t>(r)];
                    bool qualifies = piece.zip == std::abs(zip.zip) && !taken[r] && !piece.rejected;
                    if (coSacked)
                        qualifies = qualifies && piece.withoutZip4 == group.nonbarcoded;
                    if (periodicals && got < zip.inCounty)
                        qualifies = qualifies && piece.inCounty;
                    if (!qualifies)
                        continue;
                    order.push_back({r, z, g, c});
                    taken[r] = true;
                    ++got;
                    if (got == zip.pieces)
                        break;
                    if (got == zip.inCounty)
                        r = -1; // the loop's increment starts the scan again at the first
                }
            }
        }
    return order;
}

} // namespace quillan::test
