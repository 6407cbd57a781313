#include "core/settings/SettingsLists.h"

namespace quillan {

namespace {

template <auto member>
SettingsList& listOf(SettingsLists& lists) {
    return lists.*member;
}

} // namespace

const std::vector<DataFile>& postalAndEarlySettingsFiles() {
    static const std::vector<DataFile> files = {
        {"tdchrt.dat", &listOf<&SettingsLists::threeDigitChart>},
        {"tdlist.dat", &listOf<&SettingsLists::threeDigitLabels>},
        {"scfchrt.dat", &listOf<&SettingsLists::scfChart>},
        {"scflist.dat", &listOf<&SettingsLists::scfLabels>},
        {"tdscchrt.dat", &listOf<&SettingsLists::schemeChart>},
        {"tdsclist.dat", &listOf<&SettingsLists::schemeLabels>},
        {"adcschrt.dat", &listOf<&SettingsLists::adcStandardChart>},
        {"adcpchrt.dat", &listOf<&SettingsLists::adcPeriodicalChart>},
        {"adclist.dat", &listOf<&SettingsLists::adcLabels>},
        {"aadschrt.dat", &listOf<&SettingsLists::aadcStandardChart>},
        {"aadclist.dat", &listOf<&SettingsLists::aadcLabels>},
        {"aadfchrt.dat", &listOf<&SettingsLists::aadcFirstClassChart>},
        {"dbmcchrt.dat", &listOf<&SettingsLists::dbmcChart>},
        {"dbmclist.dat", &listOf<&SettingsLists::dbmcLabels>},
        {"bmcalist.dat", &listOf<&SettingsLists::bmcAsfLabels>},
        {"nbmschrt.dat", &listOf<&SettingsLists::nonBmcStandardChart>},
        {"nbmpchrt.dat", &listOf<&SettingsLists::nonBmcPeriodicalChart>},
        {"nbmclist.dat", &listOf<&SettingsLists::nonBmcLabels>},
        {"zonelist.dat", &listOf<&SettingsLists::zoneLabels>},
        {"zonechrt.dat", &listOf<&SettingsLists::zoneChart>},
        {"mailtype.dat", &listOf<&SettingsLists::mailTypeList>},
        {"mailer.dat", &listOf<&SettingsLists::mailerList>},
        {"per.dat", &listOf<&SettingsLists::periodicalList>},
        {"prefs.dat", &listOf<&SettingsLists::prefsList>},
    };
    return files;
}

const std::vector<DataFile>& lateSettingsFiles() {
    static const std::vector<DataFile> files = {
        {"fonts.dat", &listOf<&SettingsLists::fontsList>},
        {"statement.dat", &listOf<&SettingsLists::statementList>},
        {"rates.dat", &listOf<&SettingsLists::ratesList>},
    };
    return files;
}

} // namespace quillan
