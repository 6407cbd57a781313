#pragma once

#include "core/MailClass.h"
#include "core/SortedMailing.h"
#include "core/settings/MailerSettings.h"
#include "core/settings/SettingsLists.h"

#include <string>

namespace quillan {

// The post office or postal facility where the mailing is entered, as the report headers
// and the tags name it: the mailer's own post office ("DALLAS TX 75201") for local entry,
// the SCF label serving the mailer's ZIP Code for SCF entry, and for the third kind the
// ADC (Periodicals) or destination BMC (other classes) serving it, without the "ADC ",
// "BMC " or "ASF " in front. Empty when the mailer's ZIP Code is shorter than five
// characters or the chart has no label for its prefix. A prefix that is not a number
// throws ConvertError.
std::string EntryOfficeName(const MailerSettings& mailer, MailClass mailClass,
                            const PostalLists& postal);
std::string EntryOfficeName(const SortedMailing& mailing);

} // namespace quillan
