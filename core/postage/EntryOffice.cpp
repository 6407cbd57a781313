#include "core/postage/EntryOffice.h"

#include "core/PostalCharts.h"

namespace quillan {

namespace {

// "ADC DALLAS TX 75199" is entered at "DALLAS TX 75199".
std::string withoutFacilityKind(const std::string& label) {
    for (const char* kind : {"ADC", "BMC", "ASF"})
        if (label.compare(0, 3, kind) == 0)
            return label.size() > 4 ? label.substr(4) : "";
    return label;
}

} // namespace

std::string EntryOfficeName(const MailerSettings& mailer, MailClass mailClass,
                            const PostalLists& postal) {
    if (mailer.zip().size() < 5)
        return "";
    if (!mailer.entersAtScf() && !mailer.entersAtBmc())
        return mailer.city() + " " + mailer.state() + " " + mailer.zip();
    int prefix = mailer.zipPrefix();
    if (mailer.entersAtScf())
        return chartLabel(postal.scfChart, postal.scfLabels, prefix).value_or("");
    std::optional<std::string> label =
        mailClass.isPeriodicals() ? chartLabel(postal.adcPeriodicalChart, postal.adcLabels, prefix)
                                  : chartLabel(postal.dbmcChart, postal.dbmcLabels, prefix);
    return label ? withoutFacilityKind(*label) : "";
}

std::string EntryOfficeName(const SortedMailing& mailing) {
    return EntryOfficeName(mailing.mailer(), mailing.mailClass(), mailing.postalLists());
}

} // namespace quillan
