#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

namespace quillan::test {

ContainerType containerType(std::string_view label, std::string_view entry,
                            std::string_view level) {
    std::optional<EntryDiscount> e = entryOfText(entry);
    std::optional<ContainerLevel> l = levelOfText(level);
    EXPECT_TRUE(e && l) << "no tray has entry '" << entry << "' or level '" << level << "'";
    return {containerKindOfStoredLabel(label), l.value_or(ContainerLevel::Basic),
            e.value_or(EntryDiscount::None)};
}

void addContainer(WorkTables& t, int32_t pieces, const std::string& label, std::string_view entry,
                  std::string_view level) {
    t.addContainer(pieces, label, containerType(label, entry, level));
}

void addSortGroup(WorkTables& t, int32_t flags, int32_t pieces, const std::string& label,
                  int32_t container) {
    t.addSortGroup(flags, pieces, groupKindOfStoredLabel(label), label, container);
}

std::vector<std::string> levelTexts(const WorkTables& t) {
    std::vector<std::string> texts;
    for (size_t k = 1; k < t.containerTypes.size(); ++k)
        texts.emplace_back(levelText(t.containerTypes[k].level));
    return texts;
}

std::vector<std::string> entryTexts(const WorkTables& t) {
    std::vector<std::string> texts;
    for (size_t k = 1; k < t.containerTypes.size(); ++k)
        texts.emplace_back(entryText(t.containerTypes[k].entry));
    return texts;
}

} // namespace quillan::test
