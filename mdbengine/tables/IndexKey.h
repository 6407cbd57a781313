#pragma once

// The key a row has in a stored index, as the index pages hold it: for each key column a
// flag byte (0x7F before a value, 0x00 for Null) and the value's bytes in an order that
// compares byte by byte (numbers big-endian with the sign turned, text in the General sort
// order); a descending column has all its bytes inverted, and in Jet4 a descending text
// value is followed by one more 0x00, as Access writes it. Keys of different rows compare as
// their rows sort.

#include "mdbengine/tables/IndexDefinition.h"
#include "mdbengine/tables/RowCodec.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mdbengine::file {

class PageStore;
struct TableDefinition;

// A row as the key is taken from it. Long values about to be written are given by column
// number, as the bytes they will be stored as (Null as nothing); others are read through
// their references.
struct KeyedRow {
    const RowView& row;
    PageStore& pages;
    const std::map<std::uint16_t, std::optional<std::string>>* longValues = nullptr;
};

struct IndexKey {
    std::vector<std::uint8_t> bytes;
    // The key as this engine once wrote it, when that differs: without the byte Jet4 puts
    // after a descending text value. Files written then hold such keys until their rows
    // change.
    std::optional<std::vector<std::uint8_t>> earlierForm;
    bool anyNull = false;
    bool allNull = true;
};

// Throws UnencodableKey for a value whose key is not known here, FormatError when a long
// value cannot be read.
IndexKey indexKey(const TableDefinition& table, const StoredIndex& index, const KeyedRow& row);

} // namespace mdbengine::file
