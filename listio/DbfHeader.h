#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillan {

struct DbfField {
    std::string name; // up to its first NUL, trailing blanks removed
    char type = 'C';
    int width = 0;
};

// The header of a dBase table, checked before anything is trusted: the file is long
// enough for a header, its version byte is one of dBase III, dBase IV or FoxPro, the field
// descriptors end with 0x0D where the header length puts it, and the field widths add up
// to the record length.
struct DbfHeader {
    static constexpr int MaxRecordLength = 10000;
    static constexpr int MaxFields = 100;

    uint8_t version = 0;
    uint32_t statedRecords = 0;
    int headerLength = 0;
    int recordLength = 0;
    std::vector<DbfField> fields;
    // The whole records the file really holds, never more than stated.
    long records = 0;
    long long fileSize = 0;
};

struct DbfHeaderCheck {
    std::optional<DbfHeader> header;
    // Why the header was refused, as whole sentences for the user.
    std::string problem;
    // Refused only because its records are longer than Quillan handles.
    bool recordsTooLong = false;
};

// Reads and checks the header. Throws ListFileError when the file cannot be opened or read.
DbfHeaderCheck readDbfHeader(const std::string& path);

} // namespace quillan
