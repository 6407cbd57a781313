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
Text mixedText(const SortedMailing& mailing, int32_t group) {
    bool nonbarcoded = mailing.tables().sortGroupFlags[static_cast<size_t>(group)] == 1;
    MixedDestination d = findMixedDestination(mailing.postalLists(), mailing.mailer(),
                                              mailing.mailClass(), nonbarcoded);
    Text zip = destinationZip(d.label.value_or(""));
    if (!zip)
        return std::nullopt;
    return std::string(mailing.mailClass().isAadcLetters() ? "MIXED AADC" : "MIXED ADC") + " " +
           *zip;
}

// "ALL FOR ADC " and the like, with the ZIP of the label the sort group's key numbers.
Text numberedText(const std::string& lead, const SettingsList& labels, std::string_view key) {
    int32_t n = 0;
    if (key.empty() || !tryStrToInt(std::string(key), n))
        return std::nullopt;
    Text zip = destinationZip(labelLine(labels, n).value_or(""));
    if (!zip)
        return std::nullopt;
    return lead + *zip;
}

// The first `count` characters of the sort group's key, after the lead.
Text keyText(const std::string& lead, std::string_view key, size_t count) {
    if (key.size() < count)
        return std::nullopt;
    return lead + std::string(key.substr(0, count));
}

Text endorsementText(const SortedMailing& mailing, size_t z) {
    const WorkTables& t = mailing.tables();
    if (z < 1 || z >= t.zipGroupOwner.size())
        return std::nullopt;
    int32_t group = t.zipGroupOwner[z];
    if (group < 1 || static_cast<size_t>(group) >= t.sortGroupLabels.size())
        return std::nullopt;
    std::string_view key = groupKey(t.sortGroupLabels[static_cast<size_t>(group)]);
    switch (t.sortGroupKinds[static_cast<size_t>(group)]) {
    case GroupKind::Mixed:
        return mixedText(mailing, group);
    case GroupKind::Adc:
        return numberedText("ALL FOR ADC ", mailing.postalLists().adcLabels, key);
    case GroupKind::Aadc:
        return numberedText("ALL FOR AADC ", mailing.postalLists().aadcLabels, key);
    case GroupKind::Scf:
        return keyText("SCF ", key, 3);
    case GroupKind::ThreeDigit:
        return keyText("3-DIGIT ", key, 3);
    case GroupKind::FiveDigit:
        return keyText("5-DIGIT ", key, 5);
    case GroupKind::ThreeDigitScheme:
    case GroupKind::Other:
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
