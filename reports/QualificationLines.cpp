#include "reports/QualificationLines.h"

#include "core/Convert.h"
#include "core/MixedDestination.h"
#include "core/presort/PresortRules.h"
#include "reports/DestinationText.h"

namespace quillan {

namespace {

// The level code of a tray or sack, and the destination its ZIP part is read from.
std::pair<std::string, std::string_view> levelOf(MailClass c, const Container& container) {
    bool aadcTrays = c.isTraysOnlyLetters();
    switch (container.kind) {
    case ContainerKind::Mixed:
        return {aadcTrays ? "MAAD" : "MADC", container.destination};
    case ContainerKind::Adc:
        return {aadcTrays ? "AADC" : "ADC", container.destination};
    case ContainerKind::Scf:
        return {"SCF", std::string_view(container.destination).substr(3)};
    case ContainerKind::Scheme:
        return {"3DGS", container.destination};
    case ContainerKind::ThreeDigit:
        return {"3DG", container.destination};
    case ContainerKind::FiveDigit:
        break;
    }
    return {"5DG", container.destination};
}

// A letter tray holding more than a one-foot tray's pieces is a two-foot tray.
std::string traySize(const SortedMailing& m, int32_t pieces) {
    if (!m.mailClass().isLetters() || !m.mailType().mmTrays())
        return {};
    return pieces > oneFootTray(m.mailType().fullTray()) ? "2'" : "1'";
}

// Label n of an ADC or AADC list named by a group's key; empty when the list has no such
// line.
std::string_view numberedLabel(const SettingsList& labels, int32_t n) {
    if (n < 1 || n >= labels.count())
        return {};
    return labels[n];
}

} // namespace

ContainerColumns containerColumns(const SortedMailing& mailing, size_t k) {
    const Container& container = mailing.containers().at(k);
    auto [level, destination] = levelOf(mailing.mailClass(), container);
    return {intToStr(static_cast<int64_t>(k) + 1), traySize(mailing, container.pieces), level,
            std::string(destinationZip(destination, true))};
}

std::string mixedGroupDestination(const SortedMailing& mailing) {
    MixedDestination d =
        findMixedDestination(mailing.postalLists(), mailing.mailer(), mailing.mailClass());
    return "M" + std::string(d.label ? destinationZip(*d.label) : std::string_view{});
}

std::string groupDestination(const SortedMailing& mailing, size_t g,
                             const std::string& mixedDestination) {
    const SortGroup& group = mailing.sortGroups().at(g);
    const PostalLists& lists = mailing.postalLists();
    switch (group.kind) {
    case GroupKind::Mixed:
        return mixedDestination;
    case GroupKind::Adc:
        return "A" + std::string(destinationZip(numberedLabel(lists.adcLabels, group.key)));
    case GroupKind::Aadc:
        return "A" + std::string(destinationZip(numberedLabel(lists.aadcLabels, group.key)));
    case GroupKind::ThreeDigitScheme:
    case GroupKind::ThreeDigit:
    case GroupKind::FiveDigit:
        return group.keyText();
    case GroupKind::Scf:
        break;
    }
    return {};
}

} // namespace quillan
