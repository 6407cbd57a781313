#include "core/presort/PresortContext.h"

#include "core/presort/PresortError.h"

namespace quillan {

PresortSettings PresortSettings::of(const SettingsLists& lists) {
    std::optional<MailClass> mailClass = lists.MailTypeList.mailClass();
    if (!mailClass)
        throw PresortError("The mail category in mailtype.dat (\"" +
                           lists.MailTypeList.categoryText() +
                           "\") is not one Quillan knows. Choose the category again under "
                           "Settings, Mail Categories, and sort again.");
    return {*mailClass, lists.MailTypeList, lists.MailerList, lists.PeriodicalList};
}

} // namespace quillan
