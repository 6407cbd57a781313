#pragma once

#include "accessdb/engine/FieldDesc.h"

#include <optional>
#include <string>
#include <vector>

namespace accessdb {

// Named parameters as the engine passes them: one field descriptor per parameter naming it,
// its value a zero-terminated text at the descriptor's offset in the value buffer.
struct EngineParams {
    std::vector<FieldDesc> descs;
    std::vector<Byte> values;

    bool empty() const { return descs.empty(); }
    std::size_t count() const { return descs.size(); }
    // Appends a parameter with its value.
    void add(const std::string& name, const std::string& value);
    // The value of a parameter, read only inside the value buffer.
    std::string valueAt(std::size_t index) const;
    // The first parameter so named (letter case aside unless exact); -1 when none.
    int find(const std::string& name, bool exact = false) const;
    std::optional<std::string> value(const std::string& name, bool exact = false) const;
    // Replaces a parameter's value in place, cut to the room its descriptor gives.
    void setValueAt(std::size_t index, const std::string& value);
};

} // namespace accessdb
