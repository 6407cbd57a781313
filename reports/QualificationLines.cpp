#include "reports/QualificationLines.h"

#include "core/Convert.h"
#include "core/MixedDestination.h"
#include "core/presort/PresortRules.h"
#include "reports/DestinationText.h"

namespace quillan {

namespace {

// The level code of a tray or sack label, and the label with its kind mark taken off.
std::pair<std::string, std::string_view> levelOf(MailClass c, std::string_view label) {
    bool aadcTrays = c.isTraysOnlyLetters();
    if (startsWith(label, "%"))
        return {aadcTrays ? "MAAD" : "MADC", label.substr(1)};
    if (startsWith(label, "$"))
        return {aadcTrays ? "AADC" : "ADC", label.substr(1)};
    if (startsWith(label, "SCF"))
        return {"SCF", label.substr(3)};
    if (startsWith(label, "#"))
        return {"3DGS", label.substr(1)};
    // Judged, like the ZIP part, on the first line: a second line after "*" does not turn
    // a 3-digit tray into a 5-digit one.
    return {charFromEnd(label.substr(0, label.find('*')), 4) == ' ' ? "3DG" : "5DG", label};
}

// A letter tray holding more than a one-foot tray's pieces is a two-foot tray.
std::string traySize(const SortedMailing& m, int32_t pieces) {
    if (!m.mailClass().isLetters() || !m.mailType().mmTrays())
        return {};
    return pieces > oneFootTray(m.mailType().fullTray()) ? "2'" : "1'";
}

// Label n of an ADC or AADC list named by a group label ("AD 12"); empty when the label
// holds no number or the list has no such line.
std::string_view numberedLabel(const SettingsList& labels, std::string_view groupLabel) {
    int32_t n = 0;
    if (!tryStrToInt(characters(groupLabel, 4, groupLabel.size()), n))
        return {};
    if (n < 1 || n >= labels.count())
        return {};
    return labels[n];
}

} // namespace

ContainerColumns containerColumns(const SortedMailing& mailing, int32_t k) {
    SortedMailing::Container container = mailing.container(k);
    auto [level, destination] = levelOf(mailing.mailClass(), container.label);
    return {intToStr(k), traySize(mailing, container.pieces), level,
            std::string(destinationZip(destination, true))};
}

std::string mixedGroupDestination(const SortedMailing& mailing) {
    MixedDestination d =
        findMixedDestination(mailing.postalLists(), mailing.mailer(), mailing.mailClass());
    return "M" + std::string(d.label ? destinationZip(*d.label) : std::string_view{});
}

std::string groupDestination(const SortedMailing& mailing, int32_t g,
                             const std::string& mixedDestination) {
    std::string_view label = mailing.sortGroup(g).label;
    const PostalLists& lists = mailing.postalLists();
    if (startsWith(label, "MA"))
        return mixedDestination;
    if (startsWith(label, "AD"))
        return "A" + std::string(destinationZip(numberedLabel(lists.adcLabels, label)));
    if (startsWith(label, "AA"))
        return "A" + std::string(destinationZip(numberedLabel(lists.aadcLabels, label)));
    if (startsWith(label, "3S") || startsWith(label, "3D"))
        return std::string(characters(label, 4, 3));
    if (startsWith(label, "5D"))
        return std::string(characters(label, 4, 5));
    return {};
}

} // namespace quillan
