#pragma once

#include "core/MailClass.h"
#include "core/SortKinds.h"

#include <optional>
#include <string>

namespace quillan {

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
