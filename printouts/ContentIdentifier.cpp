#include "printouts/ContentIdentifier.h"

#include "core/Convert.h"

#include <array>

namespace quillan {

namespace {

struct Identifier {
    int number; // 0: the class has no tag of this kind
    const char* text;
};

// One row per class, the columns in the order of ContainerKind.
struct ClassIdentifiers {
    MailClass::Code code;
    std::array<Identifier, 6> byKind;
};

constexpr Identifier None{0, ""};

constexpr std::array<ClassIdentifiers, 12> identifiers{{
    {MailClass::RNML,
     {{{605, "STD LTR MANUAL WKG"},
       {607, "STD LTR ADC MANUAL"},
       None,
       None,
       {604, "STD LTR 5D MANUAL"},
       {606, "STD LTR 3D MANUAL"}}}},
    {MailClass::RNAF,
     {{{582, "STD FLTS NON BC WKG"},
       {580, "STD FLTS ADC NON BC"},
       None,
       None,
       {578, "STD FLTS 5D NON BC"},
       {579, "STD FLTS 3D NON BC"}}}},
    {MailClass::RML,
     {{{560, "STD LTR MACH WKG"},
       {558, "STD LTR AADC MACH"},
       None,
       None,
       {552, "STD LTR 5D MACH"},
       {555, "STD LTR 3D MACH"}}}},
    {MailClass::RAL,
     {{{546, "STD LTR BC WKG"},
       {545, "STD LTR AADC BC"},
       {543, "STD LTR BC SCHEME"},
       None,
       {542, "STD LTR 5D BC"},
       {544, "STD LTR 3D BC"}}}},
    {MailClass::FAL,
     {{{246, "FCM LTR BC WKG"},
       {245, "FCM LTR AADC BC"},
       {243, "FCM LTR BC SCHEME"},
       None,
       {242, "FCM LTR 5D BC"},
       {244, "FCM LTR 3D BC"}}}},
    {MailClass::RAF,
     {{{575, "STD FLTS BC WKG"},
       {574, "STD FLTS ADC BC"},
       None,
       None,
       {572, "STD FLTS 5D BC"},
       {573, "STD FLTS 3D BC"}}}},
    {MailClass::RCOF,
     {{{532, "STD FLTS BC/NBC WKG"},
       {531, "STD FLTS ADC BC/NBC"},
       None,
       None,
       {521, "STD FLTS 5D BC/NBC"},
       {522, "STD FLTS 3D BC/NBC"}}}},
    {MailClass::PNAL,
     {{{359, "PER LTRS NON BC WKG"},
       {356, "PER LTRS ADC NON BC"},
       None,
       None,
       {350, "PER LTRS 5D NON BC"},
       {353, "PER LTRS 3D NON BC"}}}},
    {MailClass::PAL,
     {{{346, "PER LTRS BC WKG"},
       {345, "PER LTRS AADC BC"},
       {343, "PER LTRS BC SCHEME"},
       None,
       {342, "PER LTRS 5D BC"},
       {344, "PER LTRS 3D BC"}}}},
    {MailClass::PNAF,
     {{{382, "PER FLTS NON BC WKG"},
       {380, "PER FLTS ADC NON BC"},
       None,
       {384, "PER FLTS SCF NON BC"},
       {378, "PER FLTS 5D NON BC"},
       {379, "PER FLTS 3D NON BC"}}}},
    {MailClass::PAF,
     {{{375, "PER FLTS BC WKG"},
       {374, "PER FLTS ADC BC"},
       None,
       {377, "PER FLTS SCF BC"},
       {372, "PER FLTS 5D BC"},
       {373, "PER FLTS 3D BC"}}}},
    {MailClass::PCOF,
     {{{332, "PER FLTS BC/NBC WKG"},
       {331, "PER FLTS ADC BC/NBC"},
       None,
       {329, "PER FLTS SCF BC/NBC"},
       {321, "PER FLTS 5D BC/NBC"},
       {322, "PER FLTS 3D BC/NBC"}}}},
}};

} // namespace

std::optional<ContentIdentifier> contentIdentifierOf(MailClass mailClass, ContainerKind kind,
                                                     bool newspaper) {
    for (const ClassIdentifiers& row : identifiers) {
        if (row.code != mailClass.value())
            continue;
        const Identifier& id = row.byKind[static_cast<size_t>(kind)];
        if (id.number == 0)
            return std::nullopt;
        ContentIdentifier result{intToStr(id.number), id.text};
        if (newspaper && mailClass.isPeriodicals()) {
            result.number = intToStr(id.number + 100);
            result.text = "NEWS" + result.text.substr(3);
        }
        return result;
    }
    return std::nullopt;
}

} // namespace quillan
