#pragma once

#include "core/WorkTables.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillan::test {

// Trays, sacks, sort groups and ZIP groups written in a test as the sort-result file stores
// them: by their texts ("%MXD DALLAS TX 752", "None", "Mixed"; "5D 75201") and numbers (a
// tray or group by its number from 1, 0 for none, -1 for a ZIP group left below a minimum).
// Their kinds and keys are read from the texts with the file's own decoders; a text no tray
// or group has fails the test.
Container container(int32_t pieces, std::string_view label, std::string_view entry,
                    std::string_view level);
SortGroup sortGroup(std::string_view label, int32_t pieces, int32_t containerNumber,
                    bool nonbarcoded = false);
void addContainer(WorkTables& t, int32_t pieces, std::string_view label, std::string_view entry,
                  std::string_view level);
void addSortGroup(WorkTables& t, bool nonbarcoded, int32_t pieces, std::string_view label,
                  int32_t containerNumber);
void addZipGroup(WorkTables& t, int32_t zip, int32_t pieces, int32_t inCounty, int32_t ownerNumber);

// One field of every record, in order: column(t.zipGroups, &ZipGroup::pieces).
template <typename Record, typename Value>
std::vector<Value> column(const std::vector<Record>& records, Value Record::*field) {
    std::vector<Value> values;
    for (const Record& record : records)
        values.push_back(record.*field);
    return values;
}

// The labels of the records, and their links as the file numbers them (index + 1).
template <typename Record>
std::vector<std::string> labels(const std::vector<Record>& records) {
    std::vector<std::string> texts;
    for (const Record& record : records)
        texts.push_back(record.label());
    return texts;
}
std::vector<int32_t> numbers(const std::vector<int32_t>& links);
std::vector<int32_t> containerNumbers(const WorkTables& t); // of the sort groups
std::vector<int32_t> ownerNumbers(const WorkTables& t);     // of the ZIP groups

// The ZIP of every piece as a number that also tells how it was read: the ZIP, minus the
// ZIP for a piece without ZIP+4, and for a rejected one code * 100000 - ZIP, with the code
// 2 for a text that is no ZIP code, 6 for an unserved prefix, 7 for a missing ZIP+4.
std::vector<int32_t> zipValues(const WorkTables& t);
// The "CITY ST" text of every piece.
std::vector<std::string> cityTexts(const WorkTables& t);

// The level and entry texts of the trays and sacks.
std::vector<std::string> levelTexts(const WorkTables& t);
std::vector<std::string> entryTexts(const WorkTables& t);

} // namespace quillan::test
