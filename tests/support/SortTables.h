#pragma once

#include "core/WorkTables.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillan::test {

// Trays, sacks and sort groups written in a test as the sort-result file stores them, by
// their texts ("%MXD DALLAS TX 752", "None", "Mixed"; "5D 75201"): their kinds are read
// from the texts with the file's own decoders. A level or entry no tray has fails the test.
ContainerType containerType(std::string_view label, std::string_view entry, std::string_view level);
void addContainer(WorkTables& t, int32_t pieces, const std::string& label, std::string_view entry,
                  std::string_view level);
void addSortGroup(WorkTables& t, int32_t flags, int32_t pieces, const std::string& label,
                  int32_t container);

// The level and entry texts of the trays and sacks, rows 1 on.
std::vector<std::string> levelTexts(const WorkTables& t);
std::vector<std::string> entryTexts(const WorkTables& t);

} // namespace quillan::test
