#include "core/MailClass.h"

#include <array>

namespace quillan {

namespace {

struct ClassText {
    MailClass::Code code;
    std::string_view name;
    std::string_view reportText;
};

constexpr std::array<ClassText, 13> classTexts{{
    {MailClass::None, "", ""},
    {MailClass::RML, "RML", "Machinable Standard - Letters"},
    {MailClass::RNML, "RNML", "Non-Machinable Standard - Letters"},
    {MailClass::RNAF, "RNAF", "Non-Automated Standard - Flats"},
    {MailClass::RAL, "RAL", "Automated Standard - Letters"},
    {MailClass::RAF, "RAF", "Automated Standard - Flats"},
    {MailClass::RCOF, "RCOF", "Co-Sacked Standard - Flats"},
    {MailClass::PNAL, "PNAL", "Non-Automated Periodicals - Letters"},
    {MailClass::PNAF, "PNAF", "Non-Automated Periodicals - Flats"},
    {MailClass::PAL, "PAL", "Automated Periodicals - Letters"},
    {MailClass::PAF, "PAF", "Automated Periodicals - Flats"},
    {MailClass::PCOF, "PCOF", "Co-Sacked Periodicals - Flats"},
    {MailClass::FAL, "FAL", "Automated 1st Cl. - Letters"},
}};

const ClassText& textOf(MailClass::Code code) {
    return classTexts[code];
}

} // namespace

std::optional<MailClass> MailClass::fromCode(std::string_view text) {
    for (const ClassText& c : classTexts)
        if (c.code != None && c.name == text)
            return MailClass(c.code);
    return std::nullopt;
}

std::optional<MailClass> MailClass::forCategory(int category, bool letters) {
    switch (category) {
    case 0:
        return MailClass(RML);
    case 1:
        return MailClass(RNML);
    case 2:
        return MailClass(RNAF);
    case 3:
        return MailClass(letters ? RAL : RAF);
    case 4:
        return MailClass(RCOF);
    case 5:
        return MailClass(letters ? PNAL : PNAF);
    case 6:
        return MailClass(letters ? PAL : PAF);
    case 7:
        return MailClass(PCOF);
    case 8:
        return MailClass(FAL);
    default:
        return std::nullopt;
    }
}

std::string_view MailClass::code() const {
    return textOf(code_).name;
}

std::string_view MailClass::reportText() const {
    return textOf(code_).reportText;
}

bool MailClass::isStandard() const {
    return code_ >= RML && code_ <= RCOF;
}

bool MailClass::isPeriodicals() const {
    return code_ >= PNAL && code_ <= PCOF;
}

bool MailClass::isLetters() const {
    return code_ == RML || code_ == RNML || code_ == RAL || code_ == PNAL || code_ == PAL ||
           code_ == FAL;
}

bool MailClass::isFlats() const {
    return code_ != None && !isLetters();
}

bool MailClass::isAutomation() const {
    return code_ == RAL || code_ == RAF || code_ == PAL || code_ == PAF || code_ == FAL;
}

bool MailClass::isNonautomation() const {
    return code_ == RNML || code_ == RNAF || code_ == PNAL || code_ == PNAF;
}

bool MailClass::isBarcodedFlats() const {
    return code_ == RAF || code_ == RCOF || code_ == PAF || code_ == PCOF;
}

bool MailClass::isTraysOnlyLetters() const {
    return code_ == RML || code_ == RAL || code_ == PAL || code_ == FAL;
}

} // namespace quillan
