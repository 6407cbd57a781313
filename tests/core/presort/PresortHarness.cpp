#include "tests/core/presort/PresortHarness.h"

#include "core/Convert.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillan::test {

PresortHarness::PresortHarness() : env(geographyFolder()), ctx(env.context()) {
    env.load();
    ctx.tables.seed(false);
}

void PresortHarness::mailType(std::initializer_list<std::pair<long, std::string>> lines) {
    for (const auto& [line, text] : lines)
        ctx.lists.MailTypeList[line] = text;
}

void PresortHarness::mailClass(int category, int size) {
    mailType({{1, std::to_string(category)}, {3, std::to_string(size)}});
}

void PresortHarness::pieces(const std::string& description) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    std::stringstream items(description);
    std::string item;
    while (std::getline(items, item, ',')) {
        item.erase(0, item.find_first_not_of(' '));
        char mark = item[0] == '-' || item[0] == '!' ? item[0] : ' ';
        size_t x = item.find('x');
        size_t slash = item.find('/');
        size_t at = item.find('@');
        int32_t zip = strToInt(item.substr(mark == ' ' ? 0 : 1, 5));
        int32_t count = strToInt(item.substr(x + 1, std::min(slash, at) - x - 1));
        int32_t inCounty =
            slash == std::string::npos ? 0 : strToInt(item.substr(slash + 1, at - slash - 1));
        std::string city = at == std::string::npos ? "" : item.substr(at + 1);
        for (int32_t n = 0; n < count; ++n) {
            int32_t value = mark == '-' ? -zip : mark == '!' ? -2 * 100000 - zip : zip;
            t.PieceZips.push_back(value);
            t.PieceInCounty.push_back(n < inCounty ? "t" : "f");
            t.PieceCities.push_back(city);
            ++c.RecordCount;
            c.RejectedCount += mark == '!';
            c.MissingZip4Count += mark == '-';
        }
    }
}

int64_t PresortHarness::placedPieces() const {
    int64_t sum = 0;
    for (int32_t k = 1; k < ctx.counters.ContainerCount; ++k)
        sum += ctx.tables.ContainerPieces[static_cast<size_t>(k)];
    return sum;
}

void PresortHarness::expectConsistent() const {
    const WorkTables& t = ctx.tables;
    const MailingCounters& c = ctx.counters;
    ASSERT_TRUE(t.familiesConsistent());
    ASSERT_EQ(t.ZipGroupZips.size(), static_cast<size_t>(c.ZipGroupCount) + 1);
    ASSERT_EQ(t.SortGroupPieces.size(), static_cast<size_t>(c.SortGroupCount));
    ASSERT_EQ(t.ContainerPieces.size(), static_cast<size_t>(c.ContainerCount));
    std::vector<int64_t> groupSums(t.SortGroupPieces.size()),
        containerSums(t.ContainerPieces.size());
    int64_t zipTotal = 0;
    for (size_t z = 1; z < t.ZipGroupZips.size(); ++z) {
        EXPECT_GE(t.ZipGroupPieces[z], 1) << "ZIP group " << z;
        EXPECT_LE(t.ZipGroupInCounty[z], t.ZipGroupPieces[z]);
        if (z > 1) {
            EXPECT_LE(std::abs(t.ZipGroupZips[z - 1]), std::abs(t.ZipGroupZips[z])) << "row " << z;
        }
        int32_t owner = t.ZipGroupOwner[z];
        ASSERT_LT(owner, c.SortGroupCount);
        if (owner > 0)
            groupSums[static_cast<size_t>(owner)] += t.ZipGroupPieces[z];
        zipTotal += t.ZipGroupPieces[z];
    }
    EXPECT_EQ(zipTotal, c.RecordCount - c.RejectedCount) << "every valid piece in a ZIP group";
    for (size_t g = 1; g < t.SortGroupPieces.size(); ++g) {
        EXPECT_GE(t.SortGroupPieces[g], 1) << "group " << g;
        EXPECT_EQ(groupSums[g], t.SortGroupPieces[g]) << "ZIP groups of group " << g;
        int32_t k = t.SortGroupContainer[g];
        ASSERT_LT(k, c.ContainerCount);
        if (k > 0)
            containerSums[static_cast<size_t>(k)] += t.SortGroupPieces[g];
    }
    for (size_t k = 1; k < t.ContainerPieces.size(); ++k) {
        EXPECT_GE(t.ContainerPieces[k], 1) << "no empty container " << k;
        EXPECT_EQ(containerSums[k], t.ContainerPieces[k]) << "groups of container " << k;
    }
}

void setTables(AppContext& ctx, const std::vector<ZipRow>& zips,
               const std::vector<GroupRow>& groups, const std::vector<int32_t>& containers,
               const std::string& level) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    t.seed(false);
    for (const ZipRow& z : zips)
        t.insertZipGroup(t.ZipGroupZips.size(), z.zip, z.pieces, z.inCounty, z.owner);
    for (const GroupRow& g : groups)
        t.addSortGroup(g.flag, g.pieces, g.label, g.container);
    for (size_t k = 0; k < containers.size(); ++k)
        t.addContainer(containers[k], "SACK " + std::to_string(k + 1), "None", level);
    c.ZipGroupCount = static_cast<int32_t>(zips.size());
    c.SortGroupCount = static_cast<int32_t>(groups.size()) + 1;
    c.ContainerCount = static_cast<int32_t>(containers.size()) + 1;
    int64_t total = 0;
    for (const ZipRow& z : zips)
        total += z.pieces;
    c.RecordCount = static_cast<int32_t>(total);
    c.RejectedCount = 0;
}

} // namespace quillan::test
