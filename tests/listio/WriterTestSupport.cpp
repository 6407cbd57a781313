#include "tests/listio/WriterTestSupport.h"

#include "app/WriteBack.h"
#include "core/Convert.h"
#include "listio/ListFormat.h"
#include "tests/support/SortTables.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace quillan::test {

void presortByZip(Mailing& mailing, int groupsPerTray) {
    WorkTables& t = mailing.tables;
    // (absolute ZIP, 0 with ZIP+4 / 1 without) -> pieces, in-county pieces
    std::map<std::pair<int32_t, int>, std::pair<int32_t, int32_t>> keys;
    for (const Piece& piece : t.pieces) {
        if (piece.rejected())
            continue;
        auto& k = keys[{piece.zip, piece.withoutZip4 ? 1 : 0}];
        ++k.first;
        k.second += piece.inCounty ? 1 : 0;
    }
    t.zipGroups.clear();
    t.sortGroups.clear();
    t.containers.clear();
    int32_t group = 0;
    for (const auto& [key, counts] : keys) {
        int32_t tray = group / groupsPerTray;
        t.zipGroups.push_back(
            {key.second ? -key.first : key.first, counts.first, counts.second, group});
        t.sortGroups.push_back(
            sortGroup("5D " + zeroPad(key.first, 5), counts.first, tray + 1, key.second == 1));
        if (t.containers.size() <= static_cast<size_t>(tray))
            addContainer(t, 0, "TRAY", "None", "5-Digit");
        t.containers[static_cast<size_t>(tray)].pieces += counts.first;
        ++group;
    }
}

SortInformationResult writeSortInformation(ListFixture& f,
                                           std::vector<std::string> presortRecords) {
    AppContext& ctx = f.ctx();
    const SortedMailing mailing(f.reading.mailing, f.mailClass, ctx.lists);
    return WriteBackSortInformation(ctx, {f.reading.list, mailing, ctx.lists,
                                          ctx.separateFilePath(), std::move(presortRecords)});
}

std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(bytes.substr(start, at - start));
    if (start != bytes.size())
        lines.push_back("<unterminated>" + bytes.substr(start));
    return lines;
}

} // namespace quillan::test
