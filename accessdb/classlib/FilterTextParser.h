#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace accessdb {

// A field as a filter expression compares it: its logical engine type and length.
struct FilterFieldType {
    std::uint16_t type = 0;
    std::uint16_t length = 0;
};

// Turns a dataset's filter text into the engine's expression blob. The text compares fields
// with constants or with each other ("NAME = 'Ann' and (ID >= 3 or ZIP is null)"); a constant
// compared with a field takes the field's type. A text constant ending in "*" compares only
// its start unless partial compares are off.
class FilterTextParser {
public:
    using FieldLookup = std::function<std::optional<FilterFieldType>(const std::string& name)>;

    FilterTextParser(FieldLookup fields, bool caseInsensitive, bool noPartialCompare)
        : fields_(std::move(fields)), caseInsensitive_(caseInsensitive),
          noPartialCompare_(noPartialCompare) {}

    // The blob; an EDatabaseError names what is wrong with the text.
    std::vector<Byte> parse(const std::string& text);

private:
    struct Impl;
    FieldLookup fields_;
    bool caseInsensitive_;
    bool noPartialCompare_;
};

} // namespace accessdb
