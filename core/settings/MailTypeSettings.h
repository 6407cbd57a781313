#pragma once

#include "core/MailClass.h"
#include "core/SettingsList.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillan {

// mailtype.dat: what kind of mailing is being prepared. The only place that knows the
// file's lines. Values convert when read, so a line the mailing never needs may hold
// anything (a letter mailing never reads the sack weight).
class MailTypeSettings : public SettingsList {
public:
    static constexpr const char* FileName = "mailtype.dat";
    enum Line : long {
        Category = 1,      // "0" to "8": class and processing category
        RateCategory = 2,  // "0" Regular, "1" Card, "2" Nonprofit
        SizeCategory = 3,  // "0" letters, "1" flats
        WeightChoice = 4,  // "1" when PieceWeight holds the exact weight
        PieceWeight = 5,   // ounces, decimal text
        PackageFigure = 6, // the pieces a letter tray of its own needs
        FullTray = 7,      // pieces in a full two-foot tray
        TrayType = 8,      // "0" mm trays, "1" emm trays
        SackMaxPounds = 9, // the heaviest sack, in pounds
    };

    MailTypeSettings() = default;
    explicit MailTypeSettings(SettingsList lines) : SettingsList(std::move(lines)) {}

    const std::string& categoryText() const { return at(Category); }
    // The class of the category and size; nothing when the category is not one of 0 to 8.
    std::optional<MailClass> mailClass() const;
    // Categories 5, 6 and 7: they have an in-county rate, need a piece weight and have no
    // minimum mailing size.
    bool isPeriodicals() const;
    bool isFirstClass() const;       // category 8
    bool isCoSacked() const;         // categories 4 and 7
    bool isStandardCoSacked() const; // category 4
    // Categories 3, 6 and 8, whose pieces need a ZIP+4 unless the preferences say otherwise.
    bool isAutomation() const;
    // Categories 0, 1, 2 and 5, whose pieces carry no barcode.
    bool isUnbarcoded() const;

    int32_t rateCategory() const { return numberAt(RateCategory); }
    // Regular rates; any other category is Nonprofit (or, for First-Class, cards).
    bool regularRates() const { return at(RateCategory) == "0"; }
    bool cardRates() const { return at(RateCategory) == "1"; }
    bool hasExactWeight() const { return at(WeightChoice) == "1"; }
    double pieceWeight() const { return decimalAt(PieceWeight); }
    int32_t packageFigure() const { return numberAt(PackageFigure); }
    int32_t fullTray() const { return numberAt(FullTray); }
    bool mmTrays() const { return at(TrayType) == "0"; }
    double sackMaxPounds() const { return decimalAt(SackMaxPounds); }

private:
    // Letters, not flats: ask the mail class, which knows it with the category.
    bool isLetterSize() const { return at(SizeCategory) == "0"; }
    bool categoryIs(std::initializer_list<const char*> categories) const;
};

} // namespace quillan
