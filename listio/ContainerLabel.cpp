#include "listio/ContainerLabel.h"

#include "core/Convert.h"
#include "core/MixedDestination.h"
#include "core/PostalCharts.h"

#include <optional>

namespace quillan {

namespace {

constexpr size_t kLabelWidth = 20;

using Text = std::optional<std::string>;

// The ZIP a label-list line ends its first line with: 3 digits when the fourth character
// from the end is a blank, else 5.
Text destinationZip(const std::string& labelLine) {
    std::string line = firstLine(labelLine);
    if (line.size() < 4)
        return std::nullopt;
    if (line[line.size() - 4] == ' ')
        return line.substr(line.size() - 3);
    if (line.size() < 5)
        return std::nullopt;
    return line.substr(line.size() - 5);
}

// Label n of a label list (-n names the same); none for 0 or a line the list does not have.
Text labelLine(const SettingsList& labels, int32_t n) {
    if (n < 0)
        n = -n;
    if (n == 0 || n >= labels.count())
        return std::nullopt;
    return labels[n];
}

// The mixed pieces of a group go to the ADC of the mailer's own area, or for the classes
// that do not go to an ADC to the entry facility of the mailing.
Text mixedText(const SortedMailing& mailing, const SortGroup& group) {
    MixedDestination d = findMixedDestination(mailing.postalLists(), mailing.mailer(),
                                              mailing.mailClass(), group.nonbarcoded);
    Text zip = destinationZip(d.label.value_or(""));
    if (!zip)
        return std::nullopt;
    return std::string(mailing.mailClass().isAadcLetters() ? "MIXED AADC" : "MIXED ADC") + " " +
           *zip;
}

// "ALL FOR ADC " and the like, with the ZIP of the label the sort group's key numbers.
Text numberedText(const std::string& lead, const SettingsList& labels, int32_t key) {
    Text zip = destinationZip(labelLine(labels, key).value_or(""));
    if (!zip)
        return std::nullopt;
    return lead + *zip;
}

Text endorsementText(const SortedMailing& mailing, size_t z) {
    if (z >= mailing.zipGroups().size())
        return std::nullopt;
    int32_t owner = mailing.zipGroups()[z].owner;
    if (owner < 0 || static_cast<size_t>(owner) >= mailing.sortGroups().size())
        return std::nullopt;
    const SortGroup& group = mailing.sortGroups()[static_cast<size_t>(owner)];
    switch (group.kind) {
    case GroupKind::Mixed:
        return mixedText(mailing, group);
    case GroupKind::Adc:
        return numberedText("ALL FOR ADC ", mailing.postalLists().adcLabels, group.key);
    case GroupKind::Aadc:
        return numberedText("ALL FOR AADC ", mailing.postalLists().aadcLabels, group.key);
    case GroupKind::Scf:
        return "SCF " + group.keyText();
    case GroupKind::ThreeDigit:
        return "3-DIGIT " + group.keyText();
    case GroupKind::FiveDigit:
        return "5-DIGIT " + group.keyText();
    case GroupKind::ThreeDigitScheme:
        break;
    }
    return std::string();
}

} // namespace

std::string BuildContainerLabel(const SortedMailing& mailing, size_t z) {
    if (!mailing.mailClass().hasEndorsementLine())
        return {};
    std::string text = endorsementText(mailing, z).value_or("");
    if (text.size() < kLabelWidth)
        text.insert(0, kLabelWidth - text.size(), '*');
    return text;
}

} // namespace quillan
