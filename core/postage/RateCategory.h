#pragma once

#include <string_view>

namespace quillan {

// What one rate line of the postage counts: the pieces of a presort level, entered with an
// entry discount, and for co-sacked flats one of the two parts of the sacks.

// The levels the rate lines name, as the trays and sacks name theirs.
enum class RateLevel { Basic, ThreeFiveDigit, ThreeDigit, FiveDigit, Aadc, MixedAadc };
// "Basic", "3/5-Digit", "3-Digit", "5-Digit", "AADC", "Mixed AADC".
std::string_view rateLevelText(RateLevel level);

// Where the mail is entered, as the trays and sacks record it. Periodicals have no entry
// discount by tray or sack: their lines take every tray and sack.
enum class EntryDiscount { None, Dbmc, Dscf };
// "None", "DBMC", "DSCF".
std::string_view entryDiscountText(EntryDiscount entry);

// Co-sacked flats: the barcoded pieces and the pieces without ZIP+4 share the sacks and
// are counted and priced apart. Every other class has only the first part.
enum class CoSackedPart { Automation, Nonautomation };

struct RateCategory {
    RateLevel level = RateLevel::Basic;
    EntryDiscount entry = EntryDiscount::None;
    CoSackedPart part = CoSackedPart::Automation;
};

} // namespace quillan
