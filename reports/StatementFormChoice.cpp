#include "reports/StatementFormChoice.h"

#include "core/postage/RateBlocks.h"

namespace quillan {

namespace {

// "3602" + kind + payment: Regular permit "r", Regular affixed "p", Nonprofit permit "n",
// Nonprofit affixed "np"; the kind letter goes between the rate letter and "s" ("3602ns")
// or after it ("3602nhp").
std::string standardForm(const std::string& kind, bool nonprofit, bool permitImprint) {
    std::string payment = permitImprint ? "r" : "p";
    if (kind == "h")
        return nonprofit ? "3602nh" + payment : "3602h" + payment;
    std::string rates = nonprofit ? (permitImprint ? "n" : "np") : payment;
    return "3602" + rates + kind;
}

} // namespace

std::string statementFormName(MailClass mailClass, const MailTypeSettings& mailType,
                              bool permitImprint) {
    if (mailClass.isFirstClass())
        return permitImprint ? "3600r" : "3600p";
    if (mailClass.isPeriodicals())
        return "3541a";
    bool nonprofit = !mailType.regularRates();
    bool heavy = hasPoundRatedWeight(mailClass, mailType);
    if (mailClass == MailClass::RNML && !heavy)
        return standardForm("s", nonprofit, permitImprint);
    if (mailClass == MailClass::RAL && heavy)
        return standardForm("h", nonprofit, permitImprint);
    return standardForm("", nonprofit, permitImprint);
}

} // namespace quillan
