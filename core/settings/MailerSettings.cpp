#include "core/settings/MailerSettings.h"

#include "core/Convert.h"

namespace quillan {

int MailerSettings::zipPrefix() const {
    return strToInt(zip().substr(0, 3));
}

} // namespace quillan
