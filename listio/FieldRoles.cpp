#include "listio/FieldRoles.h"

namespace quillan {

const std::array<FieldRole, 11>& fieldRoles() {
    static const std::array<FieldRole, 11> roles = {{
        {"zip", "zipLabel", "a Zip Code field:", &ListState::ZipColumn},
        {"zip5", "zip5Label", "a 5-digit Zip Code field", &ListState::Zip5Column},
        {"zip4", "zip4Label", "a +4 Zip Code Field", &ListState::Zip4Column},
        {"city", "cityLabel", "a City field:", &ListState::CityColumn},
        {"state", "stateLabel", "a State field:", &ListState::StateColumn},
        {"citystate", "cityStLabel", "a \"City, State\" field:", &ListState::CityStateColumn},
        {"sort", "sortLabel", "Sort Order field:", &ListState::SortColumn},
        {"tray", "trayLabel", "Tray/Sack# field:", &ListState::TrayColumn},
        {"pkg", "pkgLabel", "Package# field:", &ListState::PackageColumn},
        {"oel", "oelLabel", "Optional Endorsement Line field:", &ListState::EndorsementColumn},
        {"county", "countyLabel", "County field:", &ListState::CountyColumn},
    }};
    return roles;
}

} // namespace quillan
