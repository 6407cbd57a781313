#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillan {

// The class and processing category of a mailing, as the presort, the writer and every
// report tell mailings apart. A default MailClass is none (no sort has chosen one yet):
// it has an empty code and no family.
class MailClass {
public:
    // The codes are the program's own names of the classes, stored in the sort-result file:
    // R Standard, P Periodicals, F First-Class; the last letter L letters, F flats.
    enum Code : uint8_t {
        None,
        RML,  // Standard machinable letters
        RNML, // Standard nonmachinable letters
        RNAF, // Standard nonautomation flats
        RAL,  // Standard automation letters
        RAF,  // Standard automation flats
        RCOF, // Standard co-sacked flats
        PNAL, // Periodicals nonautomation letters
        PNAF, // Periodicals nonautomation flats
        PAL,  // Periodicals automation letters
        PAF,  // Periodicals automation flats
        PCOF, // Periodicals co-sacked flats
        FAL,  // First-Class automation letters
    };

    constexpr MailClass() = default;
    constexpr MailClass(Code code) : code_(code) {}

    // The class of a stored code ("RNAF"), or nothing for a text that names none.
    static std::optional<MailClass> fromCode(std::string_view text);
    // The class of a mail category (mailtype.dat's 0 to 8) and size; nothing outside 0 to 8.
    static std::optional<MailClass> forCategory(int category, bool letters);

    Code value() const { return code_; }
    // "RNAF"; empty for none.
    std::string_view code() const;
    // The description the reports print: "Non-Automated Standard - Flats".
    std::string_view reportText() const;

    bool isStandard() const;
    bool isPeriodicals() const;
    bool isFirstClass() const { return code_ == FAL; }
    bool isLetters() const;
    bool isFlats() const;
    // RCOF, PCOF: automation and nonautomation flats in the same sacks, told apart by ZIP+4.
    bool isCoSacked() const { return code_ == RCOF || code_ == PCOF; }
    // RAL, RAF, PAL, PAF, FAL: barcoded pieces, offered the barcoding program.
    bool isAutomation() const;
    // RNML, RNAF, PNAL, PNAF.
    bool isNonautomation() const;
    // RML, RAL, PAL, FAL: letters that go in trays without packages. Having no packages,
    // their pieces carry no endorsement line.
    bool isTraysOnlyLetters() const;
    bool hasEndorsementLine() const { return code_ != None && !isTraysOnlyLetters(); }
    // RNML, PNAL: letters in packages inside trays.
    bool isPackagedLetters() const { return code_ == RNML || code_ == PNAL; }
    // RAL, PAL, FAL: barcoded letters, sorted to 3-digit schemes.
    bool isAutomationLetters() const { return code_ == RAL || code_ == PAL || code_ == FAL; }
    // RML, RAL, FAL: letters whose last trays are AADC trays.
    bool isAadcLetters() const { return code_ == RML || code_ == RAL || code_ == FAL; }
    // RAL, FAL: barcoded letters whose last trays are AADC trays, priced at an AADC rate.
    bool isAadcAutomationLetters() const { return code_ == RAL || code_ == FAL; }
    // RML, RNML, PNAL: letters without barcodes, whose 5-digit groups are cut into trays as
    // they fill them.
    bool isUnbarcodedLetters() const { return code_ == RML || code_ == RNML || code_ == PNAL; }
    // RAF, RCOF, PAF, PCOF: flats with barcoded packages, which qualify by their own size;
    // their sacks take their level from the kinds of packages inside.
    bool isBarcodedFlats() const;

    friend bool operator==(MailClass, MailClass) = default;

private:
    Code code_ = None;
};

} // namespace quillan
