#include "core/MixedDestination.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

namespace quillan {

namespace {

MixedDestination lookUp(const SettingsList& chart, const char* chartFile,
                        const SettingsList& labels, int prefix) {
    MixedDestination d;
    d.label = chartLabel(chart, labels, prefix);
    if (!d.label)
        d.problem = "The mixed tray or sack cannot be labelled: line " + std::to_string(prefix) +
                    " of " + chartFile + " names no label for the mailer's ZIP prefix " +
                    zeroPad(prefix, 3) +
                    ". Correct the chart under Postal Lists, or the mailer's ZIP under "
                    "Settings, and sort again.";
    return d;
}

// The 3-digit prefix a BMC/ASF entry label ends with: the three characters after the
// sixth character from the end when that one is a blank, else its last three.
std::optional<int> facilityPrefix(const std::string& bmc) {
    size_t n = bmc.size();
    std::string facility =
        n >= 6 && bmc[n - 6] == ' ' ? bmc.substr(n - 5, 3) : bmc.substr(n < 3 ? 0 : n - 3);
    int32_t prefix = 0;
    if (!tryStrToInt(facility, prefix))
        return std::nullopt;
    return prefix;
}

MixedDestination firstClass(const PostalLists& l, int prefix, bool bmcEntry) {
    if (bmcEntry && prefix >= 1 && prefix < l.dbmcChart.count() &&
        chartValue(l.dbmcChart, prefix) != 0) {
        MixedDestination bmc = lookUp(l.dbmcChart, "dbmcchrt.dat", l.bmcAsfLabels, prefix);
        if (!bmc.label)
            return bmc;
        std::optional<int> facility = facilityPrefix(*bmc.label);
        if (!facility)
            return {std::nullopt, "The mixed tray cannot be labelled: the BMC/ASF entry label \"" +
                                      *bmc.label +
                                      "\" in bmcalist.dat does not end in a 3-digit prefix."};
        prefix = *facility;
    }
    return lookUp(l.scfChart, "scfchrt.dat", l.scfLabels, prefix);
}

} // namespace

MixedDestination findMixedDestination(const PostalLists& l, const MailerSettings& mailer,
                                      MailClass mailClass, bool nonbarcoded) {
    int prefix = mailer.zipPrefix();
    bool periodicals = mailClass.isPeriodicals();
    if (mailClass.isNonautomation() || (mailClass.isCoSacked() && nonbarcoded)) {
        MixedDestination d = periodicals
                                 ? lookUp(l.adcPeriodicalChart, "adcpchrt.dat", l.adcLabels, prefix)
                                 : lookUp(l.adcStandardChart, "adcschrt.dat", l.adcLabels, prefix);
        d.adc = true;
        return d;
    }
    if (mailClass.isFirstClass())
        return firstClass(l, prefix, mailer.entersAtBmc());
    if (mailer.entersAtBmc())
        return lookUp(l.dbmcChart, "dbmcchrt.dat", l.bmcAsfLabels, prefix);
    return periodicals ? lookUp(l.nonBmcPeriodicalChart, "nbmpchrt.dat", l.nonBmcLabels, prefix)
                       : lookUp(l.nonBmcStandardChart, "nbmschrt.dat", l.nonBmcLabels, prefix);
}

} // namespace quillan
