#include "core/postage/StatementLines.h"

#include <algorithm>

namespace quillan {

void StatementLines::offerPieceRate(double rate) {
    lowestPieceRate_ = std::min(lowestPieceRate_, rate);
}

void StatementLines::addCombinedRate(double rate) {
    combinedRates_.push_back(rate);
    lowestPieceRate_ = NoPieceRate;
    for (double combined : combinedRates_)
        if (combined > 0)
            lowestPieceRate_ = std::min(lowestPieceRate_, combined);
}

} // namespace quillan
