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

AppContext::AppContext(platform::Platform platform, platform::ProgramPaths paths,
                       std::vector<std::string> parameters)
    : platform(platform), paths(std::move(paths)), parameters(std::move(parameters)),
      progress_(&noProgress) {
    dataFolder = this->paths.dataFolder;
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
