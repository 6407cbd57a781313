#include "core/presort/CityIndex.h"

#include "core/Convert.h"

#include <cstdlib>

namespace quillan {

CityIndex::CityIndex(const PresortContext& ctx) : ctx_(ctx), firstRecord_(100000, 0) {
    const WorkTables& t = ctx.tables;
    int32_t records =
        std::min<int32_t>(ctx.counters.recordCount, static_cast<int32_t>(t.pieceZips.size()) - 1);
    for (int32_t r = records; r >= 1; --r) {
        // A rejected value's magnitude lies above every ZIP, so it never matches.
        int64_t zip = std::llabs(static_cast<int64_t>(t.pieceZips[static_cast<size_t>(r)]));
        if (zip < 100000)
            firstRecord_[static_cast<size_t>(zip)] = r;
    }
}

std::string CityIndex::cityOf(int32_t zip) const {
    if (zip < 0 || zip >= 100000)
        return {};
    int32_t record = firstRecord_[static_cast<size_t>(zip)];
    const std::vector<std::string>& cities = ctx_.tables.pieceCities;
    if (record == 0 || static_cast<size_t>(record) >= cities.size())
        return {};
    return upperAscii(cities[static_cast<size_t>(record)]);
}

} // namespace quillan
