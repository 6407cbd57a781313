#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillan {

// The kinds of a sort's packages, trays and sacks. The presort sets them where it builds,
// beside the label texts that the tags, reports and lists print; everything after the
// presort asks the kind and never reads it out of a text. The sort-result file stores the
// texts only, so its loader is the one reader that decodes kinds from them (the
// *OfStored* functions below).

// The level a sort group (a package or package group) was made at.
enum class GroupKind : uint8_t {
    FiveDigit,
    ThreeDigit,
    ThreeDigitScheme,
    Scf,
    Adc,
    Aadc,
    Mixed,
    Other, // a label of no known kind, as a sort-result file may hold
};

// A 3-digit or 3-digit scheme group.
bool isThreeDigitGroup(GroupKind kind);

// A group's label: its kind's two characters ("5D", "3D", "3S", "SC", "AD", "AA"), a blank
// and its key (the ZIP, 3-digit prefix or center number); a mixed group is "MA" alone.
std::string groupLabel(GroupKind kind, std::string_view key);
// The text after the kind's two characters and the blank: the group's key.
std::string_view groupKey(std::string_view label);

// Where a tray or sack goes. Its label marks the first three by its first character ("%",
// "$", "#"); the mark is not part of the destination the tag prints.
enum class ContainerKind : uint8_t { Mixed, Adc, Scheme, Scf, FiveDigit, ThreeDigit };

// The label of a tray or sack: the kind's mark, if it has one, before the destination.
std::string containerLabel(ContainerKind kind, std::string_view destination);
// The label without the kind's mark.
std::string_view containerDestination(ContainerKind kind, std::string_view label);

// The presort level of a tray or sack, which the rate of its pieces follows.
enum class ContainerLevel : uint8_t {
    Basic,
    ThreeFiveDigit,
    ThreeDigit,
    FiveDigit,
    Aadc,
    MixedAadc,
    Mixed,
};
// "Mixed" and "Mixed AADC": a container whose groups are of several levels.
bool isMixedLevel(ContainerLevel level);

// Where the mail of a tray or sack is entered. Periodicals have no entry discount by tray
// or sack.
enum class EntryDiscount : uint8_t { None, Dbmc, Dscf };

struct ContainerType {
    ContainerKind kind = ContainerKind::Mixed;
    ContainerLevel level = ContainerLevel::Basic;
    EntryDiscount entry = EntryDiscount::None;

    bool operator==(const ContainerType&) const = default;
};

// The texts the instructions print and the sort-result file stores: "Basic", "3/5-Digit",
// "3-Digit", "5-Digit", "AADC", "Mixed AADC", "Mixed"; "None", "DBMC", "DSCF".
std::string_view levelText(ContainerLevel level);
std::string_view entryText(EntryDiscount entry);

// Reading the sort-result file back. Levels and entries are one of the texts above, or
// nothing; group and container kinds follow from the label as the presort wrote it: the
// group's first two characters, the container's mark, else "SCF" at its start, else a
// 5-digit destination when the fourth character from the end is not a blank, else 3-digit.
std::optional<ContainerLevel> levelOfText(std::string_view text);
std::optional<EntryDiscount> entryOfText(std::string_view text);
GroupKind groupKindOfStoredLabel(std::string_view label);
ContainerKind containerKindOfStoredLabel(std::string_view label);

} // namespace quillan
