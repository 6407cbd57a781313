#include "tests/core/presort/PresortHarness.h"

#include "core/Convert.h"
#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillan::test {

PresortHarness::PresortHarness() : env(geographyFolder()), ctx(env.context()) {
    env.load();
    work.tables.seed(false);
}

void PresortHarness::mailType(std::initializer_list<std::pair<long, std::string>> lines) {
    for (const auto& [line, text] : lines)
        ctx.lists.mailTypeList[line] = text;
}

void PresortHarness::mailClass(int category, int size) {
    mailType({{1, std::to_string(category)}, {3, std::to_string(size)}});
}

void PresortHarness::useClass(const std::string& code) {
    classCode_ = code;
}

PresortContext& PresortHarness::presort() {
    const SettingsLists& l = ctx.lists;
    if (classCode_.empty())
        settings_ = std::make_unique<PresortSettings>(PresortSettings::of(l));
    else
        settings_ = std::make_unique<PresortSettings>(PresortSettings{
            *MailClass::fromCode(classCode_), l.mailTypeList, l.mailerList, l.periodicalList});
    presort_ = std::make_unique<PresortContext>(
        PresortContext{work.tables, work.counters, ctx.lists, *settings_, ctx.progress()});
    return *presort_;
}

void PresortHarness::pieces(const std::string& description) {
    fillPieces(work, description);
}

void fillPieces(Mailing& mailing, const std::string& description) {
    WorkTables& t = mailing.tables;
    MailingCounters& c = mailing.counters;
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
            t.pieceZips.push_back(value);
            t.pieceInCounty.push_back(n < inCounty ? 1 : 0);
            t.pieceCities.push_back(city);
            ++c.recordCount;
            c.rejectedCount += mark == '!';
            c.missingZip4Count += mark == '-';
        }
    }
}

int64_t PresortHarness::placedPieces() const {
    int64_t sum = 0;
    for (int32_t k = 1; k < work.counters.containerCount; ++k)
        sum += work.tables.containerPieces[static_cast<size_t>(k)];
    return sum;
}

void PresortHarness::expectConsistent() const {
    const WorkTables& t = work.tables;
    const MailingCounters& c = work.counters;
    ASSERT_TRUE(t.familiesConsistent());
    ASSERT_EQ(t.zipGroupZips.size(), static_cast<size_t>(c.zipGroupCount) + 1);
    ASSERT_EQ(t.sortGroupPieces.size(), static_cast<size_t>(c.sortGroupCount));
    ASSERT_EQ(t.containerPieces.size(), static_cast<size_t>(c.containerCount));
    std::vector<int64_t> groupSums(t.sortGroupPieces.size()),
        containerSums(t.containerPieces.size());
    int64_t zipTotal = 0;
    for (size_t z = 1; z < t.zipGroupZips.size(); ++z) {
        EXPECT_GE(t.zipGroupPieces[z], 1) << "ZIP group " << z;
        EXPECT_LE(t.zipGroupInCounty[z], t.zipGroupPieces[z]);
        if (z > 1) {
            EXPECT_LE(std::abs(t.zipGroupZips[z - 1]), std::abs(t.zipGroupZips[z])) << "row " << z;
        }
        int32_t owner = t.zipGroupOwner[z];
        ASSERT_LT(owner, c.sortGroupCount);
        if (owner > 0)
            groupSums[static_cast<size_t>(owner)] += t.zipGroupPieces[z];
        zipTotal += t.zipGroupPieces[z];
    }
    EXPECT_EQ(zipTotal, c.recordCount - c.rejectedCount) << "every valid piece in a ZIP group";
    for (size_t g = 1; g < t.sortGroupPieces.size(); ++g) {
        EXPECT_GE(t.sortGroupPieces[g], 1) << "group " << g;
        EXPECT_EQ(groupSums[g], t.sortGroupPieces[g]) << "ZIP groups of group " << g;
        int32_t k = t.sortGroupContainer[g];
        ASSERT_LT(k, c.containerCount);
        if (k > 0)
            containerSums[static_cast<size_t>(k)] += t.sortGroupPieces[g];
    }
    for (size_t k = 1; k < t.containerPieces.size(); ++k) {
        EXPECT_GE(t.containerPieces[k], 1) << "no empty container " << k;
        EXPECT_EQ(containerSums[k], t.containerPieces[k]) << "groups of container " << k;
    }
}

void setTables(Mailing& mailing, const std::vector<ZipRow>& zips,
               const std::vector<GroupRow>& groups, const std::vector<int32_t>& containers,
               const std::string& level) {
    WorkTables& t = mailing.tables;
    MailingCounters& c = mailing.counters;
    t.seed(false);
    for (const ZipRow& z : zips)
        t.insertZipGroup(t.zipGroupZips.size(), z.zip, z.pieces, z.inCounty, z.owner);
    for (const GroupRow& g : groups)
        addSortGroup(t, g.flag, g.pieces, g.label, g.container);
    for (size_t k = 0; k < containers.size(); ++k)
        addContainer(t, containers[k], "SACK " + std::to_string(k + 1), "None", level);
    c.zipGroupCount = static_cast<int32_t>(zips.size());
    c.sortGroupCount = static_cast<int32_t>(groups.size()) + 1;
    c.containerCount = static_cast<int32_t>(containers.size()) + 1;
    int64_t total = 0;
    for (const ZipRow& z : zips)
        total += z.pieces;
    c.recordCount = static_cast<int32_t>(total);
    c.rejectedCount = 0;
}

} // namespace quillan::test
