#include "core/presort/CityIndex.h"

#include "core/Convert.h"

namespace quillan {

CityIndex::CityIndex(const WorkTables& tables)
    : pieces_(tables.pieces), names_(tables.cities), firstRecord_(100000, NoRecord) {}

void CityIndex::note(size_t record) {
    int32_t& first = firstRecord_[static_cast<size_t>(pieces_[record].zip)];
    if (first == NoRecord)
        first = static_cast<int32_t>(record);
}

std::string CityIndex::cityOf(int32_t zip) const {
    if (zip < 0 || zip >= 100000)
        return {};
    int32_t record = firstRecord_[static_cast<size_t>(zip)];
    if (record == NoRecord)
        return {};
    return upperAscii(names_.text(pieces_[static_cast<size_t>(record)].city));
}

} // namespace quillan
