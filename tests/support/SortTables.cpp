#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

namespace quillan::test {

Container container(int32_t pieces, std::string_view label, std::string_view entry,
                    std::string_view level) {
    std::optional<EntryDiscount> e = entryOfText(entry);
    std::optional<ContainerLevel> l = levelOfText(level);
    EXPECT_TRUE(e && l) << "no tray has entry '" << entry << "' or level '" << level << "'";
    ContainerKind kind = containerKindOfStoredLabel(label);
    return {pieces, kind, l.value_or(ContainerLevel::Basic), e.value_or(EntryDiscount::None),
            std::string(containerDestination(kind, label))};
}

SortGroup sortGroup(std::string_view label, int32_t pieces, int32_t containerNumber,
                    bool nonbarcoded) {
    std::optional<StoredGroup> stored = groupOfStoredLabel(label);
    EXPECT_TRUE(stored) << "no group is labelled '" << label << "'";
    StoredGroup g = stored.value_or(StoredGroup{GroupKind::Mixed, 0});
    return {g.kind, g.key, pieces, containerNumber - 1, nonbarcoded};
}

void addContainer(WorkTables& t, int32_t pieces, std::string_view label, std::string_view entry,
                  std::string_view level) {
    t.containers.push_back(container(pieces, label, entry, level));
}

void addSortGroup(WorkTables& t, bool nonbarcoded, int32_t pieces, std::string_view label,
                  int32_t containerNumber) {
    t.sortGroups.push_back(sortGroup(label, pieces, containerNumber, nonbarcoded));
}

void addZipGroup(WorkTables& t, int32_t zip, int32_t pieces, int32_t inCounty,
                 int32_t ownerNumber) {
    t.zipGroups.push_back({zip, pieces, inCounty, ownerNumber - 1});
}

std::vector<int32_t> numbers(const std::vector<int32_t>& links) {
    std::vector<int32_t> result;
    for (int32_t link : links)
        result.push_back(link + 1);
    return result;
}

std::vector<int32_t> containerNumbers(const WorkTables& t) {
    return numbers(column(t.sortGroups, &SortGroup::container));
}

std::vector<int32_t> ownerNumbers(const WorkTables& t) {
    return numbers(column(t.zipGroups, &ZipGroup::owner));
}

std::vector<std::string> cityTexts(const WorkTables& t) {
    std::vector<std::string> texts;
    for (const Piece& p : t.pieces)
        texts.push_back(t.cities.text(p.city));
    return texts;
}

std::vector<int32_t> zipValues(const WorkTables& t) {
    std::vector<int32_t> values;
    for (const Piece& p : t.pieces) {
        int32_t code = p.rejection == ZipRejection::Form          ? -2
                       : p.rejection == ZipRejection::NotServed   ? -6
                       : p.rejection == ZipRejection::Zip4Missing ? -7
                                                                  : 0;
        values.push_back(code != 0 ? code * 100000 - p.zip : p.withoutZip4 ? -p.zip : p.zip);
    }
    return values;
}

std::vector<std::string> levelTexts(const WorkTables& t) {
    std::vector<std::string> texts;
    for (const Container& c : t.containers)
        texts.emplace_back(levelText(c.level));
    return texts;
}

std::vector<std::string> entryTexts(const WorkTables& t) {
    std::vector<std::string> texts;
    for (const Container& c : t.containers)
        texts.emplace_back(entryText(c.entry));
    return texts;
}

} // namespace quillan::test
