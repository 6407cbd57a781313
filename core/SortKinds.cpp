#include "core/SortKinds.h"

#include <array>

namespace quillan {

namespace {

struct GroupCode {
    GroupKind kind;
    std::string_view code;
};

constexpr std::array<GroupCode, 7> groupCodes{{{GroupKind::FiveDigit, "5D"},
                                               {GroupKind::ThreeDigit, "3D"},
                                               {GroupKind::ThreeDigitScheme, "3S"},
                                               {GroupKind::Scf, "SC"},
                                               {GroupKind::Adc, "AD"},
                                               {GroupKind::Aadc, "AA"},
                                               {GroupKind::Mixed, "MA"}}};

std::string_view groupCode(GroupKind kind) {
    for (const GroupCode& g : groupCodes)
        if (g.kind == kind)
            return g.code;
    return {};
}

// The first character of a marked container's label.
std::optional<char> containerMark(ContainerKind kind) {
    switch (kind) {
    case ContainerKind::Mixed:
        return '%';
    case ContainerKind::Adc:
        return '$';
    case ContainerKind::Scheme:
        return '#';
    default:
        return std::nullopt;
    }
}

constexpr std::array<ContainerLevel, 7> levels{
    ContainerLevel::Basic,     ContainerLevel::ThreeFiveDigit, ContainerLevel::ThreeDigit,
    ContainerLevel::FiveDigit, ContainerLevel::Aadc,           ContainerLevel::MixedAadc,
    ContainerLevel::Mixed};

constexpr std::array<EntryDiscount, 3> entries{EntryDiscount::None, EntryDiscount::Dbmc,
                                               EntryDiscount::Dscf};

} // namespace

bool isThreeDigitGroup(GroupKind kind) {
    return kind == GroupKind::ThreeDigit || kind == GroupKind::ThreeDigitScheme;
}

std::string groupLabel(GroupKind kind, std::string_view key) {
    std::string label(groupCode(kind));
    if (kind != GroupKind::Mixed)
        label.append(" ").append(key);
    return label;
}

std::string_view groupKey(std::string_view label) {
    return label.size() > 3 ? label.substr(3) : std::string_view{};
}

std::string containerLabel(ContainerKind kind, std::string_view destination) {
    std::string label;
    if (std::optional<char> mark = containerMark(kind))
        label += *mark;
    return label.append(destination);
}

std::string_view containerDestination(ContainerKind kind, std::string_view label) {
    bool marked = containerMark(kind) && !label.empty() && label[0] == *containerMark(kind);
    return marked ? label.substr(1) : label;
}

bool isMixedLevel(ContainerLevel level) {
    return level == ContainerLevel::Mixed || level == ContainerLevel::MixedAadc;
}

std::string_view levelText(ContainerLevel level) {
    switch (level) {
    case ContainerLevel::Basic:
        return "Basic";
    case ContainerLevel::ThreeFiveDigit:
        return "3/5-Digit";
    case ContainerLevel::ThreeDigit:
        return "3-Digit";
    case ContainerLevel::FiveDigit:
        return "5-Digit";
    case ContainerLevel::Aadc:
        return "AADC";
    case ContainerLevel::MixedAadc:
        return "Mixed AADC";
    case ContainerLevel::Mixed:
        return "Mixed";
    }
    return "";
}

std::string_view entryText(EntryDiscount entry) {
    switch (entry) {
    case EntryDiscount::None:
        return "None";
    case EntryDiscount::Dbmc:
        return "DBMC";
    case EntryDiscount::Dscf:
        return "DSCF";
    }
    return "";
}

std::optional<ContainerLevel> levelOfText(std::string_view text) {
    for (ContainerLevel level : levels)
        if (levelText(level) == text)
            return level;
    return std::nullopt;
}

std::optional<EntryDiscount> entryOfText(std::string_view text) {
    for (EntryDiscount entry : entries)
        if (entryText(entry) == text)
            return entry;
    return std::nullopt;
}

GroupKind groupKindOfStoredLabel(std::string_view label) {
    for (const GroupCode& g : groupCodes)
        if (label.substr(0, 2) == g.code)
            return g.kind;
    return GroupKind::Other;
}

ContainerKind containerKindOfStoredLabel(std::string_view label) {
    for (ContainerKind kind : {ContainerKind::Mixed, ContainerKind::Adc, ContainerKind::Scheme})
        if (!label.empty() && label[0] == *containerMark(kind))
            return kind;
    if (label.substr(0, 3) == "SCF")
        return ContainerKind::Scf;
    if (label.size() >= 4 && label[label.size() - 4] != ' ')
        return ContainerKind::FiveDigit;
    return ContainerKind::ThreeDigit;
}

} // namespace quillan
