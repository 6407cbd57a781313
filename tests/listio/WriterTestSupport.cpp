#include "tests/listio/WriterTestSupport.h"

#include "core/Convert.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace quillan::test {

void presortByZip(AppContext& ctx, int groupsPerTray) {
    WorkTables& t = ctx.tables;
    // (absolute ZIP, 0 with ZIP+4 / 1 without) -> pieces, in-county pieces
    std::map<std::pair<int32_t, int>, std::pair<int32_t, int32_t>> keys;
    for (int32_t r = 1; r <= ctx.counters.RecordCount; ++r) {
        int32_t v = t.PieceZips[r];
        if (v <= -100000)
            continue;
        auto& k = keys[{std::abs(v), v < 0 ? 1 : 0}];
        ++k.first;
        if (t.PieceInCounty[r] == "t")
            ++k.second;
    }
    t.ZipGroupZips = t.ZipGroupPieces = t.ZipGroupInCounty = t.ZipGroupOwner = {0};
    t.SortGroupFlags = t.SortGroupPieces = t.SortGroupContainer = {0};
    t.SortGroupLabels = {""};
    t.ContainerPieces = {0};
    t.ContainerLabels = t.ContainerEntry = t.ContainerLevel = {""};
    int32_t group = 0;
    for (const auto& [key, counts] : keys) {
        ++group;
        int32_t tray = (group - 1) / groupsPerTray + 1;
        t.ZipGroupZips.push_back(key.second ? -key.first : key.first);
        t.ZipGroupPieces.push_back(counts.first);
        t.ZipGroupInCounty.push_back(counts.second);
        t.ZipGroupOwner.push_back(group);
        t.addSortGroup(key.second, counts.first, "5D " + zeroPad(key.first, 5), tray);
        if (t.containerRows() <= static_cast<size_t>(tray))
            t.addContainer(0, "TRAY", "None", "5-Digit");
        t.ContainerPieces[tray] += counts.first;
    }
    ctx.counters.ZipGroupCount = group;
    ctx.counters.SortGroupCount = group + 1;
    ctx.counters.ContainerCount = static_cast<int32_t>(t.containerRows());
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
