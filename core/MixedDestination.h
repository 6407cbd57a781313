#pragma once

#include "core/MailClass.h"
#include "core/settings/MailerSettings.h"
#include "core/settings/SettingsLists.h"

#include <optional>
#include <string>

namespace quillan {

// Where the mixed pieces of the mailer's own area go: the label-list line of their
// destination, or why the postal lists name none.
struct MixedDestination {
    std::optional<std::string> label;
    std::string problem;
    // The label names an ADC: the nonautomation classes, and the nonbarcoded pieces of a
    // co-sacked mailing.
    bool adc = false;
};

// The destination of the mixed pieces of a mailing of the class, entered as the mailer
// settings say (the mailer's 3-digit prefix looked up in the class's chart): an ADC for the
// nonautomation classes and for `nonbarcoded` pieces of a co-sacked class; for First-Class
// the SCF of the BMC/ASF entry facility when the mail enters at a BMC that has one, else the
// mailer's own SCF; for every other class the BMC/ASF entry label when the mail enters at a
// BMC, else the non-BMC entry label of its class. A chart line that is not a number throws
// ConvertError.
MixedDestination findMixedDestination(const PostalLists& lists, const MailerSettings& mailer,
                                      MailClass mailClass, bool nonbarcoded = false);

} // namespace quillan
