#pragma once

#include "core/SortedMailing.h"
#include "core/postage/RateCategory.h"
#include "core/postage/StatementLines.h"

#include <string>
#include <string_view>

namespace quillan {

// A rate as rates.dat holds it and as a number, in dollars per piece or per pound.
struct Rate {
    std::string text;
    double value = 0;
};

// The caption of a line that prices the pounds of the piece line before it.
inline constexpr std::string_view PoundLineLabel = "  plus";

// Counts the pieces of one rate category, prices them, appends the line to the
// statement's lines and returns what the line adds to the statement total, unrounded.
//
// A per-piece line is pieces x rate. A pound line ("  plus") prices the pounds of the
// same pieces: with permit imprint it shows the pounds and their postage; with postage
// affixed it shows the pieces again and their piece and pound postage together, at the
// combined per-piece rate rounded up to the next tenth of a cent, and returns only what
// it adds to the piece line before it. Amounts show 4 decimals with permit imprint and 3
// with postage affixed.
double ComputeRateLine(const SortedMailing& mailing, StatementLines& lines, std::string_view label,
                       const RateCategory& category, const Rate& rate);

} // namespace quillan
