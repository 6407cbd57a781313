#include "printouts/PeriodicalZoneRule.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <cstdlib>

namespace quillan {

namespace {

// A chart line as a number; 0 (no label, no zone) for a prefix outside the chart or a line
// that is not a number.
int32_t chartNumber(const SettingsList& chart, int prefix) {
    int32_t value = 0;
    if (prefix < 1 || prefix >= chart.count() || !tryStrToInt(chart[prefix], value))
        return 0;
    return value;
}

std::string labelNamed(const SettingsList& labels, int32_t number) {
    number = std::abs(number);
    return number >= 1 && number < labels.count() ? labels[number] : std::string();
}

// The ADC name without its "ADC " or "AADC " lead, for comparing with the SCF's.
std::string withoutAdcLead(std::string name) {
    if (name.rfind("ADC", 0) == 0)
        name = name.size() > 4 ? name.substr(4) : std::string();
    if (name.rfind("AADC", 0) == 0)
        name = name.size() > 5 ? name.substr(5) : std::string();
    return name;
}

} // namespace

PeriodicalZoneRule::PeriodicalZoneRule(const SortedMailing& mailing) : mailing_(mailing) {
    const MailerSettings& mailer = mailing.mailer();
    if (mailer.at(MailerSettings::EntryType) == "0")
        return;
    entryPrefix_ = mailer.zipPrefix();
    scfEntry_ = mailer.entersAtScf();
    adcEntry_ = !scfEntry_;
    const PostalLists& lists = mailing.postalLists();
    int32_t scf = chartNumber(lists.scfChart, entryPrefix_);
    int32_t adc = chartNumber(adcChart(), entryPrefix_);
    if (scf == 0 || adc == 0)
        return;
    if (labelNamed(lists.scfLabels, scf) == withoutAdcLead(labelNamed(adcLabels(), adc)))
        scfEntry_ = adcEntry_ = true;
}

// Automation letters go to AADCs, every other Periodicals class to ADCs.
const SettingsList& PeriodicalZoneRule::adcChart() const {
    const PostalLists& lists = mailing_.postalLists();
    return mailing_.mailClass().isAutomationLetters() ? lists.aadcStandardChart
                                                      : lists.adcPeriodicalChart;
}

const SettingsList& PeriodicalZoneRule::adcLabels() const {
    const PostalLists& lists = mailing_.postalLists();
    return mailing_.mailClass().isAutomationLetters() ? lists.aadcLabels : lists.adcLabels;
}

PeriodicalZone PeriodicalZoneRule::classify(int prefix) const {
    const PostalLists& lists = mailing_.postalLists();
    if (scfEntry_) {
        int32_t entryScf = chartNumber(lists.scfChart, entryPrefix_);
        if (entryScf != 0 && chartNumber(lists.scfChart, prefix) == entryScf)
            return {PeriodicalZone::Kind::Scf, 0};
    }
    if (adcEntry_) {
        int32_t entryAdc = chartNumber(adcChart(), entryPrefix_);
        if (entryAdc != 0 && chartNumber(adcChart(), prefix) == entryAdc)
            return {PeriodicalZone::Kind::Adc, 0};
    }
    int32_t zone = chartNumber(lists.zoneChart, prefix);
    if (zone >= 1 && zone <= 8)
        return {PeriodicalZone::Kind::Zone, zone};
    return {};
}

} // namespace quillan
