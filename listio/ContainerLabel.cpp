#include "listio/ContainerLabel.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <optional>

namespace quillan {

namespace {

constexpr size_t kLabelWidth = 20;

using Text = std::optional<std::string>;

bool isOneOf(const std::string& code, std::initializer_list<const char*> codes) {
    for (const char* c : codes)
        if (code == c)
            return true;
    return false;
}

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

// Label n of a label list (a negative chart value names the same label); none for 0 or a
// line the list does not have.
Text labelLine(const SettingsList& labels, int32_t n) {
    if (n < 0)
        n = -n;
    if (n == 0 || n >= labels.count())
        return std::nullopt;
    return labels[n];
}

Text labelThroughChart(const SettingsList& chart, const SettingsList& labels, int prefix) {
    if (prefix < 1 || prefix >= chart.count())
        return std::nullopt;
    return labelLine(labels, chartValue(chart, prefix));
}

// The destination of a mixed group: the ADC serving the mailer's own 3-digit prefix, or
// for the classes that do not go to an ADC the entry facility of the mailing.
Text mixedDestination(const AppContext& ctx, int32_t group) {
    const SettingsLists& l = ctx.lists;
    const std::string& code = ctx.MailClassCode;
    int prefix = strToInt(l.MailerList[3]) / 100;
    bool coSackedBarcoded =
        isOneOf(code, {"PCOF", "RCOF"}) && ctx.tables.SortGroupFlags[group] == 0;
    bool toAdc = !isOneOf(code, {"RAF", "RML", "RAL", "FAL", "PAF", "PAL"}) && !coSackedBarcoded;
    bool standard = !code.empty() && code[0] == 'R';
    if (toAdc)
        return labelThroughChart(standard ? l.AdcStandardChart : l.AdcPeriodicalChart, l.AdcLabels,
                                 prefix);
    if (l.MailerList[4] == "2")
        return labelThroughChart(l.DbmcChart, l.BmcAsfLabels, prefix);
    return labelThroughChart(standard ? l.NonBmcStandardChart : l.NonBmcPeriodicalChart,
                             l.NonBmcLabels, prefix);
}

Text mixedText(const AppContext& ctx, int32_t group) {
    Text zip = destinationZip(mixedDestination(ctx, group).value_or(""));
    if (!zip)
        return std::nullopt;
    bool aadc = isOneOf(ctx.MailClassCode, {"RML", "RAL", "FAL"});
    return std::string(aadc ? "MIXED AADC" : "MIXED ADC") + " " + *zip;
}

// "ALL FOR ADC " and the like, with the ZIP of the label numbered from the fourth
// character of the sort-group label on.
Text numberedText(const std::string& lead, const SettingsList& labels,
                  const std::string& groupLabel) {
    int32_t n = 0;
    if (groupLabel.size() < 4 || !tryStrToInt(groupLabel.substr(3), n))
        return std::nullopt;
    Text zip = destinationZip(labelLine(labels, n).value_or(""));
    if (!zip)
        return std::nullopt;
    return lead + *zip;
}

// Characters 4 on of the sort-group label, `count` of them, after the lead.
Text keyText(const std::string& lead, const std::string& groupLabel, size_t count) {
    if (groupLabel.size() < 3 + count)
        return std::nullopt;
    return lead + groupLabel.substr(3, count);
}

Text endorsementText(const AppContext& ctx, size_t z) {
    const WorkTables& t = ctx.tables;
    if (z < 1 || z >= t.ZipGroupOwner.size())
        return std::nullopt;
    int32_t group = t.ZipGroupOwner[z];
    if (group < 1 || static_cast<size_t>(group) >= t.SortGroupLabels.size())
        return std::nullopt;
    const std::string& label = t.SortGroupLabels[static_cast<size_t>(group)];
    std::string kind = label.substr(0, 2);
    if (kind == "MA")
        return mixedText(ctx, group);
    if (kind == "AD")
        return numberedText("ALL FOR ADC ", ctx.lists.AdcLabels, label);
    if (kind == "AA")
        return numberedText("ALL FOR AADC ", ctx.lists.AadcLabels, label);
    if (kind == "SC")
        return keyText("SCF ", label, 3);
    if (kind == "3D")
        return keyText("3-DIGIT ", label, 3);
    if (kind == "5D")
        return keyText("5-DIGIT ", label, 5);
    return std::string();
}

} // namespace

std::string BuildContainerLabel(const AppContext& ctx, size_t z) {
    if (isOneOf(ctx.MailClassCode, {"RAL", "RML", "FAL", "PAL"}))
        return {};
    std::string text = endorsementText(ctx, z).value_or("");
    if (text.size() < kLabelWidth)
        text.insert(0, kLabelWidth - text.size(), '*');
    return text;
}

} // namespace quillan
