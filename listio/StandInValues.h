#pragma once

#include "listio/ClearedField.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quillan {

// Values that hold the place of a uniquely indexed field's values while the records get
// their new ones: distinct, each one that no record holds now or will hold once written,
// as the index compares them (text without regard to ASCII case).
class StandInValues {
public:
    explicit StandInValues(const ClearedField& field) : field_(field) {}

    // A value some record holds, or will hold.
    void taken(const std::string& value);
    // `count` stand-ins, as the field is given them; none when the field has room for
    // fewer.
    std::optional<std::vector<std::string>> make(std::size_t count) const;

private:
    std::optional<std::vector<std::string>> numbers(std::size_t count) const;
    std::optional<std::vector<std::string>> texts(std::size_t count) const;

    ClearedField field_;
    std::set<long long> takenNumbers_;
    std::set<std::string> takenTexts_;
};

} // namespace quillan
