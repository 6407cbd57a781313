#pragma once

#include "core/MailClass.h"
#include "core/settings/MailTypeSettings.h"

#include <string>

namespace quillan {

// The statement form of a mailing, by class, payment and rate category: First-Class
// "3600r"/"3600p", Periodicals "3541a", and for Standard Mail "3602" with "s" for
// nonmachinable letters of up to 3.3 oz, "h" for automation letters over 3.3 oz, "r"/"n"
// permit imprint Regular/Nonprofit and "p"/"np" postage affixed. 3.3 oz itself is not over.
std::string statementFormName(MailClass mailClass, const MailTypeSettings& mailType,
                              bool permitImprint);

} // namespace quillan
