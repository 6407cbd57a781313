#pragma once

#include "core/SortedMailing.h"

#include <string>

namespace quillan {

// The post office or postal facility where the mailing is entered, as report headers and
// tags name it: the mailer's city, state and ZIP for local entry, the SCF serving the mailer's
// ZIP for SCF entry, the ADC (Periodicals) or destination BMC (other classes) serving it for
// entry at a BMC or ADC, without the label's "ADC ", "BMC " or "ASF " lead. Empty when the
// mailer's ZIP is shorter than 5 characters or the chart names no label for it. Throws
// ConvertError when the ZIP's first three characters are not digits.
std::string EntryOfficeName(const SortedMailing& mailing);

} // namespace quillan
