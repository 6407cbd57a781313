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
    // The upper-cased city and state of the first record whose ZIP is zip5's value; empty
    // when no record has it.
    std::string cityOf(const std::string& zip5) const;

private:
    const PresortContext& ctx_;
    std::vector<int32_t> firstRecord_; // by ZIP, 0 for none
};

// The same for a single lookup.
std::string CityForZip(const PresortContext& ctx, const std::string& zip5);

} // namespace quillan
