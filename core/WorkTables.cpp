#include "core/WorkTables.h"

namespace quillan {

void WorkTables::seed(bool withPieceRecordsSeed) {
    *this = WorkTables{};
    pieceZips.push_back(0);
    pieceInCounty.push_back(0);
    pieceCities.emplace_back("0");
    if (withPieceRecordsSeed)
        pieceRecords.emplace_back();
}

} // namespace quillan
