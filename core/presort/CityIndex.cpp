#include "core/presort/CityIndex.h"

#include "core/Convert.h"

namespace quillan {

CityIndex::CityIndex(const PresortContext& ctx) : ctx_(ctx), firstRecord_(100000, NoRecord) {
    const std::vector<Piece>& pieces = ctx.tables.pieces;
    for (size_t r = pieces.size(); r-- > 0;)
        if (!pieces[r].rejected())
            firstRecord_[static_cast<size_t>(pieces[r].zip)] = static_cast<int32_t>(r);
}

std::string CityIndex::cityOf(int32_t zip) const {
    if (zip < 0 || zip >= 100000)
        return {};
    int32_t record = firstRecord_[static_cast<size_t>(zip)];
    if (record == NoRecord)
        return {};
    return upperAscii(ctx_.tables.pieces[static_cast<size_t>(record)].city);
}

} // namespace quillan
