#include "core/postage/PeriodicalZoneClassifier.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <cstdlib>

namespace quillan {

namespace {

// A chart line as text; a prefix beyond the chart reads as "0", no label.
const std::string& chartLine(const SettingsList& chart, int prefix) {
    static const std::string none = "0";
    if (prefix < 0 || prefix >= chart.count())
        return none;
    return chart[prefix];
}

// "ADC NORTH TEXAS TX 75099" names the same place as the SCF "NORTH TEXAS TX 75099".
std::string withoutAdcKind(std::string name) {
    if (name.compare(0, 3, "ADC") == 0)
        name = name.size() > 4 ? name.substr(4) : "";
    if (name.compare(0, 4, "AADC") == 0)
        name = name.size() > 5 ? name.substr(5) : "";
    return name;
}

} // namespace

std::string PeriodicalZoneCounts::summary() const {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "/") + part; };
    if (inCountySeen)
        add("IC");
    if (scfMet)
        add("SCF");
    if (adcMet)
        add("ADC");
    if (zoneMet[1] || zoneMet[2])
        add("1-2");
    for (int zone = 3; zone <= 8; ++zone)
        if (zoneMet[static_cast<size_t>(zone)])
            add(std::to_string(zone));
    return text;
}

int32_t PeriodicalZoneCounts::total() const {
    int32_t sum = inCounty + scf + adc;
    for (int32_t pieces : zones)
        sum += pieces;
    return sum;
}

PeriodicalZoneCounts& PeriodicalZoneCounts::operator+=(const PeriodicalZoneCounts& other) {
    inCounty += other.inCounty;
    scf += other.scf;
    adc += other.adc;
    unzoned += other.unzoned;
    unzonedZips.insert(unzonedZips.end(), other.unzonedZips.begin(), other.unzonedZips.end());
    inCountySeen = inCountySeen || other.inCountySeen;
    scfMet = scfMet || other.scfMet;
    adcMet = adcMet || other.adcMet;
    for (size_t zone = 0; zone < zones.size(); ++zone) {
        zones[zone] += other.zones[zone];
        zoneMet[zone] = zoneMet[zone] || other.zoneMet[zone];
    }
    return *this;
}

PeriodicalZoneClassifier::PeriodicalZoneClassifier(MailClass mailClass,
                                                   const MailerSettings& mailer,
                                                   const PeriodicalSettings& periodical,
                                                   const PostalLists& postal)
    : scfChart_(postal.scfChart),
      adcChart_(mailClass == MailClass::PAL ? postal.aadcStandardChart : postal.adcPeriodicalChart),
      zoneChart_(postal.zoneChart), postal_(postal),
      automationLetters_(mailClass == MailClass::PAL), inCountyRates_(periodical.inCountyRates()) {
    kind_ = entryKindOf(mailer);
}

PeriodicalZoneClassifier::PeriodicalZoneClassifier(const SortedMailing& mailing)
    : PeriodicalZoneClassifier(mailing.mailClass(), mailing.mailer(), mailing.periodical(),
                               mailing.postalLists()) {}

PeriodicalEntryKind PeriodicalZoneClassifier::entryKindOf(const MailerSettings& mailer) {
    if (mailer.entersLocally())
        return PeriodicalEntryKind::Local;
    PeriodicalEntryKind kind =
        mailer.entersAtScf() ? PeriodicalEntryKind::Scf : PeriodicalEntryKind::Adc;
    entryPrefix_ = mailer.zipPrefix();
    const SettingsList& adcLabels = automationLetters_ ? postal_.aadcLabels : postal_.adcLabels;
    std::optional<std::string> scfName = chartLabel(scfChart_, postal_.scfLabels, entryPrefix_);
    std::optional<std::string> adcName = chartLabel(adcChart_, adcLabels, entryPrefix_);
    if (scfName && adcName && *scfName == withoutAdcKind(*adcName))
        return PeriodicalEntryKind::Combined;
    return kind;
}

ZoneDestination PeriodicalZoneClassifier::destinationOf(int prefix) const {
    auto sameArea = [&](const SettingsList& chart) {
        const std::string& entry = chartLine(chart, entryPrefix_);
        return entry != "0" && chartLine(chart, prefix) == entry;
    };
    bool scfEntry = kind_ == PeriodicalEntryKind::Scf || kind_ == PeriodicalEntryKind::Combined;
    bool adcEntry = kind_ == PeriodicalEntryKind::Adc || kind_ == PeriodicalEntryKind::Combined;
    if (scfEntry && sameArea(scfChart_))
        return {ZoneDestination::Scf, 0};
    if (adcEntry && sameArea(adcChart_))
        return {ZoneDestination::Adc, 0};
    int32_t zone = 0;
    if (tryStrToInt(chartLine(zoneChart_, prefix), zone) && zone >= 1 && zone <= 8)
        return {ZoneDestination::Zone, zone};
    return {};
}

int32_t PeriodicalZoneClassifier::inCountyPieces(const ZipGroup& group) const {
    return inCountyRates_ && group.inCounty > 0 ? group.inCounty : 0;
}

void PeriodicalZoneClassifier::classify(const ZipGroup& group, PeriodicalZoneCounts& counts) const {
    int32_t inCounty = inCountyPieces(group);
    if (inCounty > 0) {
        counts.inCounty += inCounty;
        counts.inCountySeen = true;
    }
    if (counts.inCountySeen && group.pieces <= inCounty)
        return;
    int32_t outside = group.pieces - inCounty;
    ZoneDestination destination = destinationOf(zipPrefix(group.zip));
    switch (destination.kind) {
    case ZoneDestination::Scf:
        counts.scf += outside;
        counts.scfMet = true;
        return;
    case ZoneDestination::Adc:
        counts.adc += outside;
        counts.adcMet = true;
        return;
    case ZoneDestination::Zone:
        counts.zones[static_cast<size_t>(destination.zone)] += outside;
        counts.zoneMet[static_cast<size_t>(destination.zone)] = true;
        return;
    case ZoneDestination::Unzoned:
        counts.unzoned += outside;
        counts.unzonedZips.push_back(std::abs(group.zip));
        return;
    }
}

PeriodicalZoneCounts classifyZoneCounts(const SortedMailing& mailing) {
    PeriodicalZoneClassifier classifier(mailing);
    PeriodicalZoneCounts counts;
    for (const ZipGroup& zip : mailing.zipGroups())
        classifier.classify(zip, counts);
    return counts;
}

PeriodicalZoneCounts classifyZoneCounts(const SortedMailing& mailing, size_t g) {
    PeriodicalZoneClassifier classifier(mailing);
    PeriodicalZoneCounts counts;
    if (g >= mailing.sortGroups().size())
        return counts;
    for (int32_t z : mailing.zipGroupsOf(g))
        classifier.classify(mailing.zipGroups()[static_cast<size_t>(z)], counts);
    return counts;
}

} // namespace quillan
