#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillan {

// The kinds of a sort's packages, trays and sacks. The presort sets them where it builds,
// with the keys and destinations its records hold; the labels the tags, reports, lists and
// the sort-result file print are made from them. The sort-result file stores the labels
// only, so its loader is the one reader that decodes kinds and keys from texts (the
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
};

// A 3-digit or 3-digit scheme group.
bool isThreeDigitGroup(GroupKind kind);

// A group's key as its label prints it: a ZIP as five digits, a 3-digit or SCF prefix as
// three, a center's number as it is; a mixed group has none.
std::string groupKeyText(GroupKind kind, int32_t key);
// A group's label: its kind's two characters ("5D", "3D", "3S", "SC", "AD", "AA"), a blank
// and its key; a mixed group is "MA" alone.
std::string groupLabel(GroupKind kind, int32_t key);

// Where a tray or sack goes. Its label marks the first three by its first character ("%",
// "$", "#"); the mark is not part of the destination the tag prints.
enum class ContainerKind : uint8_t { Mixed, Adc, Scheme, Scf, FiveDigit, ThreeDigit };

// The label of a tray or sack: the kind's mark, if it has one, before the destination.
std::string containerLabel(ContainerKind kind, std::string_view destination);

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

// The texts the instructions print and the sort-result file stores: "Basic", "3/5-Digit",
// "3-Digit", "5-Digit", "AADC", "Mixed AADC", "Mixed"; "None", "DBMC", "DSCF".
std::string_view levelText(ContainerLevel level);
std::string_view entryText(EntryDiscount entry);

// Reading the sort-result file back. Levels and entries are one of the texts above, or
// nothing. A group's label gives its kind by its first two characters and its key by the
// rest; a label that is not exactly the one groupLabel makes of them gives nothing. A
// container's kind follows from its label as the presort wrote it: the mark, else "SCF" at
// its start, else a 5-digit destination when the fourth character from the end is not a
// blank, else 3-digit.
std::optional<ContainerLevel> levelOfText(std::string_view text);
std::optional<EntryDiscount> entryOfText(std::string_view text);
struct StoredGroup {
    GroupKind kind;
    int32_t key;
};
std::optional<StoredGroup> groupOfStoredLabel(std::string_view label);
ContainerKind containerKindOfStoredLabel(std::string_view label);
// A stored label without the mark of its kind: the destination.
std::string_view containerDestination(ContainerKind kind, std::string_view label);

} // namespace quillan
