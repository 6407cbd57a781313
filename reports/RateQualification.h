#pragma once

#include "core/MailClass.h"
#include "core/SortedMailing.h"

#include <array>
#include <cstdint>

namespace quillan {

// The rate columns of the qualification report. Each has a total of its own; the
// co-sacked ones hold the barcoded packages of a co-sacked mailing, whose nonbarcoded
// pieces go to the plain columns.
enum class RateColumn {
    FiveDigit,  // 5-digit packages: "5B" or "5D"
    ThreeDigit, // "3B", "3D"
    ThreeFive,  // "3/5", "3/5B"
    Basic,      // basic and mixed-level pieces: "BS", "BB", "MB"
    Aadc,       // automation AADC letters: "AB"
    CoSackedFiveDigit,
    CoSackedThreeDigit,
    CoSackedThreeFive,
    CoSackedBasic,
};
inline constexpr size_t RateColumnCount = 9;

// The pieces of each rate column, and of all the group lines printed.
struct RateTotals {
    std::array<int32_t, RateColumnCount> column{};
    int32_t running = 0;

    int32_t& operator[](RateColumn c) { return column[static_cast<size_t>(c)]; }
    int32_t operator[](RateColumn c) const { return column[static_cast<size_t>(c)]; }
    int32_t coSackedAutomation() const;
    int32_t coSackedNonautomation() const;
};

// The rate column sort group g qualifies for: barcoded flat packages by their own size and
// level, every other group by the level and destination of its tray or sack.
RateColumn qualifyingColumn(const SortedMailing& mailing, size_t g);

// Where a column's figures are right-aligned, in points: the automation letters with AADC
// trays (RAL, FAL) print their 5-digit and 3-digit figures one column to the left.
int32_t rateColumnX(MailClass mailClass, RateColumn column);

} // namespace quillan
