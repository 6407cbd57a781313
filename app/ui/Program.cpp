#include "ui/Program.h"

#include "core/CommandErrors.h"
#include "core/DataFiles.h"
#include "core/SettingsList.h"

namespace quillan {

using namespace platform;

Program::Program(AppContext& ctx) : ctx_(ctx) {
    mainWindow_ = std::make_unique<MainWindow>(ctx_);
    mainWindow_->form().show();
    welcome_ = std::make_unique<WelcomeDialog>(ctx_);
    welcome_->endProgram = [this](int status) { endProgram(status); };
    welcome_->runSortWizard = [this] {
        if (SortWizard1Click)
            SortWizard1Click();
    };
    verifyDlog_ = std::make_unique<VerifyDialog>(ctx_);
    bindCommands();
}

Program::~Program() {
    if (ctx_.mainWindow == &mainWindow_->form()) {
        ctx_.mainWindow = nullptr;
        ctx_.pauseTimer = nullptr;
    }
}

void Program::bindCommands() {
    MainWindow& w = *mainWindow_;
    w.bind("Contents1", [this] { Contents1Click(); });
    w.bind("TopicSearch1", [this] { TopicSearch1Click(); });
    w.bind("About1", [this] { About1Click(); });
    w.bind("PageSetup", [this] { PageSetupClick(); });
    w.bind("Exit", [this] { ExitClick(); });
    w.form().onClose = [this] { ExitClick(); };
}

void Program::setHelpFile() {
    ctx_.platform.help.setHelpFile(ctx_.helpFilePath());
}

void Program::Contents1Click() {
    setHelpFile();
    ctx_.platform.help.showTopic(1);
}

void Program::TopicSearch1Click() {
    setHelpFile();
    ctx_.platform.help.search("");
}

void Program::About1Click() {
    welcome_->showAs(1);
}

void Program::PageSetupClick() {
    ctx_.platform.ui.printerSetupDialog(ctx_.platform.printer);
}

void Program::ExitClick() {
    endProgram(0);
}

void Program::endProgram(int exitStatus) {
    setHelpFile();
    ctx_.platform.help.quit();
    FreeDataLists(ctx_);
    ctx_.platform.ui.quit(exitStatus);
}

void Program::runCommandLineSort(const std::function<void()>& command, const char* what) {
    if (command) {
        command();
        return;
    }
    ctx_.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                 std::string(what) + " is not available in this version of Quillan.");
    endProgram(2);
}

bool Program::RunStartUp() {
    ctx_.DataFolder = ctx_.paths.dataFolder;
    ctx_.ProgramVersion = "6.2.4";
    ctx_.RatesDate = "4/1/03";
    ctx_.flags.DataMissing = false;
    try {
        LoadDataFiles(ctx_);
    } catch (const std::exception& e) {
        ctx_.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                     std::string(e.what()) + "\nQuillan will close.");
        endProgram(1);
        return false;
    }
    if (!ctx_.flags.DataMissing)
        welcome_->form().control("Version").setCaption(ctx_.ProgramVersion + " - Updated " +
                                                       ctx_.RatesDate);
    std::string mode = ctx_.runMode();
    if (ctx_.flags.DataMissing || (mode != "DUZIZ" && mode != "NOSTOP")) {
        welcome_->showAs(0);
        return true;
    }
    if (mode == "DUZIZ")
        runCommandLineSort(SortWizard1Click, "The Sort Wizard");
    else
        runCommandLineSort(SortOneFileClick, "Sort One List");
    return true;
}

int Program::run() {
    RunStartUp();
    return ctx_.platform.ui.run();
}

} // namespace quillan
