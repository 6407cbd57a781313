#include "core/presort/PresortContext.h"

#include "core/presort/PresortError.h"

namespace quillan {

PresortSettings PresortSettings::of(const SettingsLists& lists) {
    std::optional<MailClass> mailClass = lists.mailTypeList.mailClass();
    if (!mailClass)
        throw PresortError("The mail category in mailtype.dat (\"" +
                           lists.mailTypeList.categoryText() +
                           "\") is not one Quillan knows. Choose the category again under "
                           "Settings, Mail Categories, and sort again.");
    return {*mailClass, lists.mailTypeList, lists.mailerList, lists.periodicalList};
}

} // namespace quillan
