#include "core/settings/MailTypeSettings.h"

#include "core/Convert.h"

namespace quillan {

std::optional<MailClass> MailTypeSettings::mailClass() const {
    int32_t category = -1;
    if (!tryStrToInt(at(Category), category))
        return std::nullopt;
    return MailClass::forCategory(category, isLetterSize());
}

bool MailTypeSettings::categoryIs(std::initializer_list<const char*> categories) const {
    const std::string& category = at(Category);
    for (const char* c : categories)
        if (category == c)
            return true;
    return false;
}

bool MailTypeSettings::isPeriodicals() const {
    return categoryIs({"5", "6", "7"});
}

bool MailTypeSettings::isFirstClass() const {
    return categoryIs({"8"});
}

bool MailTypeSettings::isCoSacked() const {
    return categoryIs({"4", "7"});
}

bool MailTypeSettings::isStandardCoSacked() const {
    return categoryIs({"4"});
}

bool MailTypeSettings::isAutomation() const {
    return categoryIs({"3", "6", "8"});
}

bool MailTypeSettings::isUnbarcoded() const {
    return categoryIs({"0", "1", "2", "5"});
}

} // namespace quillan
