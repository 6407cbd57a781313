#include "core/SortKinds.h"

#include "core/Convert.h"

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

std::string groupKeyText(GroupKind kind, int32_t key) {
    switch (kind) {
    case GroupKind::FiveDigit:
        return zeroPad(key, 5);
    case GroupKind::ThreeDigit:
    case GroupKind::ThreeDigitScheme:
    case GroupKind::Scf:
        return zeroPad(key, 3);
    case GroupKind::Adc:
    case GroupKind::Aadc:
        return intToStr(key);
    case GroupKind::Mixed:
        break;
    }
    return {};
}

std::string groupLabel(GroupKind kind, int32_t key) {
    std::string label(groupCode(kind));
    if (kind != GroupKind::Mixed)
        label.append(" ").append(groupKeyText(kind, key));
    return label;
}

std::string containerLabel(ContainerKind kind, std::string_view destination) {
    std::string label;
    if (std::optional<char> mark = containerMark(kind))
        label += *mark;
    return label.append(destination);
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

std::optional<StoredGroup> groupOfStoredLabel(std::string_view label) {
    for (const GroupCode& g : groupCodes) {
        if (label.substr(0, 2) != g.code)
            continue;
        int32_t key = 0;
        if (g.kind != GroupKind::Mixed &&
            (label.size() < 4 || !tryStrToInt(label.substr(3), key) || key < 0))
            return std::nullopt;
        if (groupLabel(g.kind, key) != label)
            return std::nullopt;
        return StoredGroup{g.kind, key};
    }
    return std::nullopt;
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

std::string_view containerDestination(ContainerKind kind, std::string_view label) {
    bool marked = containerMark(kind) && !label.empty() && label[0] == *containerMark(kind);
    return marked ? label.substr(1) : label;
}

} // namespace quillan
