#pragma once

#include "core/SettingsList.h"

namespace quillan {

// rates.dat: one rate per line, in dollars, in blocks by class. The only place that knows
// the file's lines: a rate is read as a block's base plus its place in the block, and the
// places are named here after the rate editors' grids.
class RateTable : public SettingsList {
public:
    static constexpr const char* FileName = "rates.dat";
    // The line before each block's first rate.
    enum Base : long {
        StandardRegular = 0, // 47 lines: letters 1-19, nonletters 20-31, piece/pound 32-42
        StandardNonprofit = 47,
        FirstClass = 94, // 20 lines: four columns for each weight step, then cards
        FirstClassUpTo1Oz = 94,
        FirstClassUpTo2Oz = 98,
        FirstClassUpTo3Oz = 102,
        FirstClassUpTo4Oz = 106,
        FirstClassCards = 110,
        PeriodicalRegular = 114,     // 22 lines: pound rates 1-9, piece rates 10-18, 19-22
        PeriodicalInCounty = 136,    // 10 lines: pound rate 1, piece rates 2-10
        PeriodicalAgriculture = 146, // as PeriodicalRegular
    };
    // Places within the Standard blocks where their pages begin.
    static constexpr long LetterRates = 1;
    static constexpr long NonletterRates = 20;
    static constexpr long PiecePoundRates = 32;
    static constexpr long LastRate = 168;

    // The Standard grids have one row for each entry discount.
    enum EntryRow : long { NoEntryRow = 0, DbmcRow = 1, DscfRow = 2 };
    // Letter-size per-piece rates: six columns to a row.
    enum LetterColumn : long {
        LetterNonautoBasic = 1,
        LetterNonauto35 = 2,
        LetterMixedAadc = 3,
        LetterAadc = 4,
        Letter3Digit = 5,
        Letter5Digit = 6,
    };
    static constexpr long NonmachinableSurcharge = 19;
    // Nonletter-size per-piece rates: four columns to a row.
    enum NonletterColumn : long {
        NonletterNonautoBasic = 1,
        NonletterNonauto35 = 2,
        NonletterAutoBasic = 3,
        NonletterAuto35 = 4,
    };
    // The per-piece part of the piece/pound rates; the per-pound part has one per entry.
    enum PiecePart : long {
        PieceNonautoBasic = 32,
        PieceNonauto35 = 33,
        PieceAutoFlatBasic = 34,
        PieceAutoFlat35 = 35,
        PieceAutoLetterMixedAadc = 36,
        PieceAutoLetterAadc = 37,
        PieceAutoLetter3Digit = 38,
        PieceAutoLetter5Digit = 39,
    };
    static constexpr long PoundNoEntry = 40;

    // First-Class: a row for each weight step and one for cards, four columns each.
    enum FirstClassColumn : long {
        FirstClassMixedAadc = 1,
        FirstClassAadc = 2,
        FirstClass3Digit = 3,
        FirstClass5Digit = 4,
    };

    // The Periodicals outside-county blocks (Regular, Science of Agriculture).
    enum PeriodicalPlace : long {
        ScfPoundRate = 1, // advertising pounds entered at the destination SCF
        AdcPoundRate = 2,
        Zones12PoundRate = 3, // zone k from 3 to 8 at k + 1
        NonadvertisingPoundRate = 19,
        NonadvertisingPieceRate = 20, // per piece and per percentage point
        ScfPieceDiscount = 21,
        AdcPieceDiscount = 22,
    };
    // Piece rates of the outside-county and in-county blocks: three levels of three kinds.
    enum PresortLevel : long { BasicLevel = 0, ThreeDigitLevel = 1, FiveDigitLevel = 2 };
    enum PieceKind : long { NonautomationPiece = 0, AutomationLetter = 1, AutomationFlat = 2 };
    static constexpr long InCountyPoundRate = 1;

    RateTable() = default;
    explicit RateTable(SettingsList lines) : SettingsList(std::move(lines)) {}

    static long line(Base base, long place) { return base + place; }
    static Base standardBase(bool nonprofit) {
        return nonprofit ? StandardNonprofit : StandardRegular;
    }
    static long letterPlace(EntryRow row, LetterColumn column) {
        return LetterRates - 1 + 6 * row + column;
    }
    static long nonletterPlace(EntryRow row, NonletterColumn column) {
        return NonletterRates - 1 + 4 * row + column;
    }
    static long poundPlace(EntryRow row) { return PoundNoEntry + row; }
    // Zones 1 and 2 share a rate.
    static long zonePoundPlace(int zone) {
        return zone <= 2 ? long{Zones12PoundRate} : long{zone} + 1;
    }
    static long periodicalPiecePlace(PresortLevel level, PieceKind kind) {
        return 10 + 3 * level + kind;
    }
    static long inCountyPiecePlace(PresortLevel level, PieceKind kind) {
        return 2 + 3 * level + kind;
    }

    const std::string& rateText(long line) const { return at(line); }
    const std::string& rateText(Base base, long place) const { return at(line(base, place)); }
    // The rate on a line. A line that is not a number throws ConvertError naming the file
    // and the line; a missing line ListIndexError.
    double rate(long line) const;
    double rate(Base base, long place) const { return rate(line(base, place)); }
};

} // namespace quillan
