#include "tests/core/presort/PresortHarness.h"

#include "core/Convert.h"
#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillan::test {

PresortHarness::PresortHarness() : env(geographyFolder()), ctx(env.context()) {
    env.load();
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
        PresortContext{work, ctx.lists, *settings_, ctx.progress()});
    return *presort_;
}

void PresortHarness::pieces(const std::string& description) {
    fillPieces(work, description);
}

void fillPieces(Mailing& mailing, const std::string& description) {
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
            mailing.tables.pieces.push_back(
                {.zip = zip,
                 .withoutZip4 = mark == '-',
                 .rejection = mark == '!' ? ZipRejection::Form : ZipRejection::None,
                 .inCounty = n < inCounty,
                 .city = mailing.tables.cities.add(city)});
            c.rejectedCount += mark == '!';
            c.missingZip4Count += mark == '-';
        }
    }
}

int64_t PresortHarness::placedPieces() const {
    int64_t sum = 0;
    for (const Container& c : work.tables.containers)
        sum += c.pieces;
    return sum;
}

void PresortHarness::expectConsistent() const {
    const WorkTables& t = work.tables;
    std::vector<int64_t> groupSums(t.sortGroups.size()), containerSums(t.containers.size());
    int64_t zipTotal = 0;
    for (size_t z = 0; z < t.zipGroups.size(); ++z) {
        const ZipGroup& zip = t.zipGroups[z];
        EXPECT_GE(zip.pieces, 1) << "ZIP group " << z;
        EXPECT_LE(zip.inCounty, zip.pieces);
        if (z > 0) {
            EXPECT_LE(std::abs(t.zipGroups[z - 1].zip), std::abs(zip.zip)) << "ZIP group " << z;
        }
        ASSERT_GE(zip.owner, ZipGroup::BelowMinimum);
        ASSERT_LT(zip.owner, static_cast<int32_t>(t.sortGroups.size()));
        if (zip.placed())
            groupSums[static_cast<size_t>(zip.owner)] += zip.pieces;
        zipTotal += zip.pieces;
    }
    EXPECT_EQ(zipTotal, work.validPieces()) << "every valid piece in a ZIP group";
    for (size_t g = 0; g < t.sortGroups.size(); ++g) {
        const SortGroup& group = t.sortGroups[g];
        EXPECT_GE(group.pieces, 1) << "group " << g;
        EXPECT_EQ(groupSums[g], group.pieces) << "ZIP groups of group " << g;
        ASSERT_GE(group.container, SortGroup::NoContainer);
        ASSERT_LT(group.container, static_cast<int32_t>(t.containers.size()));
        if (group.contained())
            containerSums[static_cast<size_t>(group.container)] += group.pieces;
    }
    for (size_t k = 0; k < t.containers.size(); ++k) {
        EXPECT_GE(t.containers[k].pieces, 1) << "no empty container " << k;
        EXPECT_EQ(containerSums[k], t.containers[k].pieces) << "groups of container " << k;
    }
}

void setTables(Mailing& mailing, const std::vector<ZipRow>& zips,
               const std::vector<GroupRow>& groups, const std::vector<int32_t>& containers,
               const std::string& level) {
    WorkTables& t = mailing.tables;
    t = {};
    for (const ZipRow& z : zips)
        addZipGroup(t, z.zip, z.pieces, z.inCounty, z.owner);
    for (const GroupRow& g : groups)
        addSortGroup(t, g.nonbarcoded, g.pieces, g.label, g.container);
    for (size_t k = 0; k < containers.size(); ++k)
        addContainer(t, containers[k], "SACK " + std::to_string(k + 1), "None", level);
    // The pieces the ZIP groups are made of.
    for (const ZipRow& z : zips)
        for (int32_t n = 0; n < z.pieces; ++n)
            t.pieces.push_back(
                {.zip = std::abs(z.zip), .withoutZip4 = z.zip < 0, .inCounty = n < z.inCounty});
    mailing.counters = {};
}

} // namespace quillan::test
