#include "reports/EntryOfficeName.h"

#include "core/PostalCharts.h"

namespace quillan {

namespace {

std::string withoutFacilityLead(const std::string& label) {
    std::string lead = label.substr(0, 3);
    if (lead == "ADC" || lead == "BMC" || lead == "ASF")
        return label.size() > 4 ? label.substr(4) : std::string();
    return label;
}

} // namespace

std::string EntryOfficeName(const SortedMailing& mailing) {
    const MailerSettings& mailer = mailing.mailer();
    if (mailer.zip().size() < 5)
        return {};
    int prefix = mailer.zipPrefix();
    const PostalLists& lists = mailing.postalLists();
    if (mailer.entersAtScf())
        return chartLabel(lists.scfChart, lists.scfLabels, prefix).value_or("");
    if (!mailer.entersAtBmc())
        return mailer.city() + " " + mailer.state() + " " + mailer.zip();
    std::optional<std::string> label =
        mailing.mailClass().isPeriodicals()
            ? chartLabel(lists.adcPeriodicalChart, lists.adcLabels, prefix)
            : chartLabel(lists.dbmcChart, lists.dbmcLabels, prefix);
    return withoutFacilityLead(label.value_or(""));
}

} // namespace quillan
