#pragma once

#include "core/WorkTables.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillan {

// The city of the first record (in list order) of every ZIP code, for 5-digit tag lines.
// The pass that makes the ZIP groups notes the records, so that the list is walked once.
class CityIndex {
public:
    explicit CityIndex(const WorkTables& tables);
    // A record that was not refused, noted in list order.
    void note(size_t record);
    // The upper-cased city and state of the first record with this ZIP; empty when no
    // record has it.
    std::string cityOf(int32_t zip) const;

private:
    static constexpr int32_t NoRecord = -1;

    const std::vector<Piece>& pieces_;
    const CityNames& names_;
    std::vector<int32_t> firstRecord_; // by ZIP
};

} // namespace quillan
