#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xls::test {

// The fields of a record the workbook writer makes anew from its model (rather than carrying
// it through as read), decoded from the bytes on their own after the published BIFF layouts:
// every field, flag and reserved value, texts as their characters with their encoding, so
// that two records can be compared field by field. It shares no code with the library.
struct RecordField {
    std::string name;
    std::string value;
    friend bool operator==(const RecordField&, const RecordField&) = default;
};

struct DecodedRecord {
    std::string name; // "SETUP"
    std::vector<RecordField> fields;
};

// The BIFF version of a workbook stream by its first BOF: 2, 3, 4, 5 or 8 (0 for none).
int biffVersionOf(std::string_view stream);

// The record decoded, or nothing for a record the writer does not make (kept ones, cells).
// A body too short for what it announces gives the field "malformed".
std::optional<DecodedRecord> decodeMadeRecord(uint16_t id, std::string_view body, int biff);

// The made records of each top-level substream of a workbook stream, in order, with their
// CONTINUE records joined; an embedded chart's records are left out (they are kept as read).
struct SubstreamRecords {
    uint16_t type = 0; // of its BOF
    std::vector<std::pair<uint16_t, DecodedRecord>> records;
};
std::vector<SubstreamRecords> madeRecordsOf(std::string_view stream);

} // namespace xls::test
