#pragma once

#include "app/RunMode.h"
#include "core/Notices.h"
#include "core/ProgressSink.h"
#include "core/WorkTables.h"
#include "core/settings/SettingsLists.h"
#include "platform/Platform.h"

#include <memory>
#include <string>
#include <vector>

namespace quillan {

// The workbook and the table component through which Excel and Access lists are read and
// written back (listio/ListComponents.h).
class ListComponents;

// Everything one run of the program shares: the platform, the folders, the settings lists
// and flags. What a command reads and sorts is the command's own. Tests make a fresh one
// for each case.
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
    // How the program was started, read from parameter 2 once.
    RunMode runMode;

    std::string dataFolder;
    std::string programVersion;
    std::string ratesDate;
    // Made by the list input the first time an Excel or Access list is opened; they hold
    // that list until it is written back, and live for the rest of the run.
    std::shared_ptr<ListComponents> listComponents;

    SettingsLists lists;
    bool listsLoaded = false;
    RunFlags flags;

    // Where long steps show their progress: the main window's picture once the program
    // block has made it, nothing before.
    ProgressSink& progress() const { return *progress_; }
    void setProgress(ProgressSink& progress) { progress_ = &progress; }
    void resetProgress();

    // Full paths of the files the program keeps beside its data folder.
    std::string dataFile(const std::string& name) const { return dataFolder + name; }
    std::string sortResultPath() const { return paths.baseFolder + "qlPrint"; }
    std::string separateFilePath() const { return paths.baseFolder + "QLSort1.txt"; }
    std::string helpFilePath() const { return paths.programFolder + "qlhelp.hlp"; }

    // Saves one settings list to its file in the data folder.
    void saveList(const SettingsList& list, const std::string& fileName) const;

    // Whom the program tells and asks: the program's windows once they are set, nobody
    // before (every box then takes its default button unseen).
    Notices& notices() const { return *notices_; }
    void setNotices(Notices& notices) { notices_ = &notices; }

    // A message box preceded by its beep, told through the notices.
    platform::ModalResult message(platform::BeepKind beep, platform::MessageKind kind,
                                  platform::MessageButtons buttons, const std::string& text);

private:
    ProgressSink* progress_;
    Notices* notices_;
};

} // namespace quillan
