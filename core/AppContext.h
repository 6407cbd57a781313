#pragma once

#include "core/ListState.h"
#include "core/SettingsList.h"
#include "core/WorkTables.h"
#include "platform/Platform.h"

#include <string>
#include <vector>

namespace platform {
class Form;
class Timer;
} // namespace platform

namespace quillan {

// The settings and postal reference files, each held as its lines for the whole run.
struct SettingsLists {
    // Postal charts and label lists.
    SettingsList ThreeDigitChart, ThreeDigitLabels;
    SettingsList ScfChart, ScfLabels;
    SettingsList SchemeChart, SchemeLabels;
    SettingsList AdcStandardChart, AdcPeriodicalChart, AdcLabels;
    SettingsList AadcStandardChart, AadcLabels, AadcFirstClassChart;
    SettingsList DbmcChart, DbmcLabels, BmcAsfLabels;
    SettingsList NonBmcStandardChart, NonBmcPeriodicalChart, NonBmcLabels;
    SettingsList ZoneLabels, ZoneChart;
    // Settings.
    SettingsList MailTypeList, MailerList, PeriodicalList, PrefsList, FontsList, StatementList,
        RatesList;
};

// One file of the data folder and the list that holds it.
struct DataFile {
    const char* fileName;
    SettingsList SettingsLists::*list;
};

// The twenty postal files in loading order, then mailtype, mailer, per and prefs; and the
// three settings files loaded after prefs.dat is padded.
const std::vector<DataFile>& postalAndEarlySettingsFiles();
const std::vector<DataFile>& lateSettingsFiles();

// Everything one run of the program shares: the platform, the folders, the settings lists,
// the work tables, counters and flags. Tests make a fresh one for each case.
class AppContext {
public:
    AppContext(platform::Platform platform, platform::ProgramPaths paths,
               std::vector<std::string> parameters = {});

    platform::Platform platform;
    platform::ProgramPaths paths;

    // Command-line parameters 1 to 3 (1-based, as the program numbers them).
    std::vector<std::string> parameters;
    std::string parameter(size_t n) const;
    size_t parameterCount() const { return parameters.size(); }
    // Parameter 2 upper-cased: "DUZIZ", "NOSTOP" or anything else.
    std::string runMode() const;

    std::string DataFolder;
    std::string ProgramVersion;
    std::string RatesDate;
    std::string MailClassCode;
    std::string ListFileKind;
    std::string ListFileName;
    // Field roles and layout of the mailing list being read.
    ListState list;

    SettingsLists lists;
    bool listsLoaded = false;
    WorkTables tables;
    MailingCounters counters;
    RunFlags flags;

    // The main window and its pause timer, once the program block has made them.
    platform::Form* mainWindow = nullptr;
    platform::Timer* pauseTimer = nullptr;

    // Full paths of the files the program keeps beside its data folder.
    std::string dataFile(const std::string& name) const { return DataFolder + name; }
    std::string sortResultPath() const { return paths.baseFolder + "qlPrint"; }
    std::string separateFilePath() const { return paths.baseFolder + "QLSort1.txt"; }
    std::string helpFilePath() const { return paths.programFolder + "qlhelp.hlp"; }

    // Saves one settings list to its file in the data folder.
    void saveList(const SettingsList& list, const std::string& fileName) const;

    // A message box preceded by its beep.
    platform::ModalResult message(platform::BeepKind beep, platform::MessageKind kind,
                                  platform::MessageButtons buttons, const std::string& text);
};

} // namespace quillan
