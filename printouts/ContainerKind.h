#pragma once

#include "core/MailClass.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillan {

// What a tray or sack holds, as its label line tells it: a marker as the first character
// ("%" mixed ADC or AADC, "$" ADC or AADC, "#" 3-digit scheme), else "SCF" at the start, else
// a 5-digit destination when the fourth character from the end is not a blank, else 3-digit.
enum class ContainerKind { Mixed, Adc, Scheme, Scf, FiveDigit, ThreeDigit };

ContainerKind containerKindOf(std::string_view label);

// The content identifier of a tag: the 3-digit number and the text the postal service reads
// off it ("542", "STD LTR 5D BC"). Periodicals published weekly or more often are newspapers:
// their numbers are 100 higher and "PER" reads "NEWS". Nothing for a class that has no tag of
// that kind.
struct ContentIdentifier {
    std::string number;
    std::string text;
};
std::optional<ContentIdentifier> contentIdentifierOf(MailClass mailClass, ContainerKind kind,
                                                     bool newspaper);

} // namespace quillan
