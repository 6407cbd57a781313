#pragma once

#include "core/SettingsList.h"

namespace quillan {

// rates.dat: one rate per line, in dollars, in blocks by class. The only place that knows
// the file's lines: a rate is read as a block's base plus its place in the block.
class RateTable : public SettingsList {
public:
    static constexpr const char* FileName = "rates.dat";
    // The line before each block's first rate.
    enum Base : long {
        StandardRegular = 0, // 47 lines: letters 1-19, nonletters 20-31, piece/pound 32-42
        StandardNonprofit = 47,
        FirstClass = 94,             // 20 lines: four columns for each weight step, then cards
        PeriodicalRegular = 114,     // 22 lines: pound rates 1-9, piece rates 10-18, 19-22
        PeriodicalInCounty = 136,    // 10 lines: pound rate 1, piece rates 2-10
        PeriodicalAgriculture = 146, // as PeriodicalRegular
    };
    // Places within the Standard blocks where their pages begin.
    static constexpr long LetterRates = 1;
    static constexpr long NonletterRates = 20;
    static constexpr long PiecePoundRates = 32;
    static constexpr long LastRate = 168;

    RateTable() = default;
    explicit RateTable(SettingsList lines) : SettingsList(std::move(lines)) {}

    static long line(Base base, long place) { return base + place; }
    const std::string& rateText(Base base, long place) const { return at(line(base, place)); }
    double rate(Base base, long place) const { return decimalAt(line(base, place)); }
};

} // namespace quillan
