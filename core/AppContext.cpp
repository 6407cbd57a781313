#include "core/AppContext.h"

#include "core/Convert.h"

namespace quillan {

const std::vector<DataFile>& postalAndEarlySettingsFiles() {
    static const std::vector<DataFile> files = {
        {"tdchrt.dat", &SettingsLists::ThreeDigitChart},
        {"tdlist.dat", &SettingsLists::ThreeDigitLabels},
        {"scfchrt.dat", &SettingsLists::ScfChart},
        {"scflist.dat", &SettingsLists::ScfLabels},
        {"tdscchrt.dat", &SettingsLists::SchemeChart},
        {"tdsclist.dat", &SettingsLists::SchemeLabels},
        {"adcschrt.dat", &SettingsLists::AdcStandardChart},
        {"adcpchrt.dat", &SettingsLists::AdcPeriodicalChart},
        {"adclist.dat", &SettingsLists::AdcLabels},
        {"aadschrt.dat", &SettingsLists::AadcStandardChart},
        {"aadclist.dat", &SettingsLists::AadcLabels},
        {"aadfchrt.dat", &SettingsLists::AadcFirstClassChart},
        {"dbmcchrt.dat", &SettingsLists::DbmcChart},
        {"dbmclist.dat", &SettingsLists::DbmcLabels},
        {"bmcalist.dat", &SettingsLists::BmcAsfLabels},
        {"nbmschrt.dat", &SettingsLists::NonBmcStandardChart},
        {"nbmpchrt.dat", &SettingsLists::NonBmcPeriodicalChart},
        {"nbmclist.dat", &SettingsLists::NonBmcLabels},
        {"zonelist.dat", &SettingsLists::ZoneLabels},
        {"zonechrt.dat", &SettingsLists::ZoneChart},
        {"mailtype.dat", &SettingsLists::MailTypeList},
        {"mailer.dat", &SettingsLists::MailerList},
        {"per.dat", &SettingsLists::PeriodicalList},
        {"prefs.dat", &SettingsLists::PrefsList},
    };
    return files;
}

const std::vector<DataFile>& lateSettingsFiles() {
    static const std::vector<DataFile> files = {
        {"fonts.dat", &SettingsLists::FontsList},
        {"statement.dat", &SettingsLists::StatementList},
        {"rates.dat", &SettingsLists::RatesList},
    };
    return files;
}

AppContext::AppContext(platform::Platform platform, platform::ProgramPaths paths,
                       std::vector<std::string> parameters)
    : platform(platform), paths(std::move(paths)), parameters(std::move(parameters)) {
    DataFolder = this->paths.dataFolder;
}

std::string AppContext::parameter(size_t n) const {
    return n >= 1 && n <= parameters.size() ? parameters[n - 1] : std::string();
}

std::string AppContext::runMode() const {
    return upperAscii(parameter(2));
}

void AppContext::saveList(const SettingsList& list, const std::string& fileName) const {
    list.saveToFile(dataFile(fileName));
}

platform::ModalResult AppContext::message(platform::BeepKind beep, platform::MessageKind kind,
                                          platform::MessageButtons buttons,
                                          const std::string& text) {
    platform.ui.beep(beep);
    return platform.ui.messageBox(kind, buttons, text);
}

} // namespace quillan
