#include "core/AppContext.h"

#include "core/Convert.h"

namespace quillan {

namespace {

template <auto member>
SettingsList& listOf(SettingsLists& lists) {
    return lists.*member;
}

NoProgress noProgress;

} // namespace

const std::vector<DataFile>& postalAndEarlySettingsFiles() {
    static const std::vector<DataFile> files = {
        {"tdchrt.dat", &listOf<&SettingsLists::ThreeDigitChart>},
        {"tdlist.dat", &listOf<&SettingsLists::ThreeDigitLabels>},
        {"scfchrt.dat", &listOf<&SettingsLists::ScfChart>},
        {"scflist.dat", &listOf<&SettingsLists::ScfLabels>},
        {"tdscchrt.dat", &listOf<&SettingsLists::SchemeChart>},
        {"tdsclist.dat", &listOf<&SettingsLists::SchemeLabels>},
        {"adcschrt.dat", &listOf<&SettingsLists::AdcStandardChart>},
        {"adcpchrt.dat", &listOf<&SettingsLists::AdcPeriodicalChart>},
        {"adclist.dat", &listOf<&SettingsLists::AdcLabels>},
        {"aadschrt.dat", &listOf<&SettingsLists::AadcStandardChart>},
        {"aadclist.dat", &listOf<&SettingsLists::AadcLabels>},
        {"aadfchrt.dat", &listOf<&SettingsLists::AadcFirstClassChart>},
        {"dbmcchrt.dat", &listOf<&SettingsLists::DbmcChart>},
        {"dbmclist.dat", &listOf<&SettingsLists::DbmcLabels>},
        {"bmcalist.dat", &listOf<&SettingsLists::BmcAsfLabels>},
        {"nbmschrt.dat", &listOf<&SettingsLists::NonBmcStandardChart>},
        {"nbmpchrt.dat", &listOf<&SettingsLists::NonBmcPeriodicalChart>},
        {"nbmclist.dat", &listOf<&SettingsLists::NonBmcLabels>},
        {"zonelist.dat", &listOf<&SettingsLists::ZoneLabels>},
        {"zonechrt.dat", &listOf<&SettingsLists::ZoneChart>},
        {"mailtype.dat", &listOf<&SettingsLists::MailTypeList>},
        {"mailer.dat", &listOf<&SettingsLists::MailerList>},
        {"per.dat", &listOf<&SettingsLists::PeriodicalList>},
        {"prefs.dat", &listOf<&SettingsLists::PrefsList>},
    };
    return files;
}

const std::vector<DataFile>& lateSettingsFiles() {
    static const std::vector<DataFile> files = {
        {"fonts.dat", &listOf<&SettingsLists::FontsList>},
        {"statement.dat", &listOf<&SettingsLists::StatementList>},
        {"rates.dat", &listOf<&SettingsLists::RatesList>},
    };
    return files;
}

AppContext::AppContext(platform::Platform platform, platform::ProgramPaths paths,
                       std::vector<std::string> parameters)
    : platform(platform), paths(std::move(paths)), parameters(std::move(parameters)),
      progress_(&noProgress) {
    DataFolder = this->paths.dataFolder;
}

void AppContext::resetProgress() {
    progress_ = &noProgress;
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
