#include "core/settings/MailerSettings.h"

#include "core/Convert.h"

namespace quillan {

int MailerSettings::zipPrefix() const {
    try {
        return strToInt(zip().substr(0, 3));
    } catch (const ConvertError&) {
        throw notANumber(Zip);
    }
}

} // namespace quillan
