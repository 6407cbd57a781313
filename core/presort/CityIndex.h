#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillan {

// The city of the first record (in list order) of every ZIP code, for 5-digit tag lines.
class CityIndex {
public:
    explicit CityIndex(const PresortContext& ctx);
    // The upper-cased city and state of the first record with this ZIP; empty when no
    // record has it.
    std::string cityOf(int32_t zip) const;

private:
    static constexpr int32_t NoRecord = -1;

    const PresortContext& ctx_;
    std::vector<int32_t> firstRecord_; // by ZIP
};

} // namespace quillan
