#include "app/Program.h"

#include "core/CommandErrors.h"
#include "core/DataFiles.h"
#include "core/SettingsList.h"
#include "listio/SortInformationWriter.h"

namespace quillan {

using namespace platform;

Program::Program(AppContext& ctx) : ctx_(ctx) {
    mainWindow_ = std::make_unique<MainWindow>(ctx_);
    mainWindow_->form().show();
    welcome_ = std::make_unique<WelcomeDialog>(ctx_);
    welcome_->endProgram = [this](int status) { endProgram(status); };
    welcome_->runSortWizard = [this] { SortWizard1Click(); };
    mlrInfoDlog_ = std::make_unique<MailerInfoDialog>(ctx_);
    prefDlog_ = std::make_unique<PrefDialog>(ctx_);
    verifyDlog_ = std::make_unique<VerifyDialog>(ctx_);
    mailTypeDlog_ = std::make_unique<MailTypeDialog>(ctx_);
    rateDlogf_ = std::make_unique<RateDialogF>(ctx_);
    rateDlog2_ = std::make_unique<RateDialog2>(ctx_);
    rateDlog3_ = std::make_unique<RateDialog3>(ctx_);
    labelFontsDlg_ = std::make_unique<LabelFontsDialog>(ctx_);
    cancelPrint_ = std::make_unique<CancelPrintDialog>(ctx_);
    rateDlog1_ = std::make_unique<RateDialog1>(ctx_);
    rateDlogp_ = std::make_unique<RateDialogP>(ctx_);
    periodicalDlog_ = std::make_unique<PeriodicalDialog>(ctx_);
    printSelect_ = std::make_unique<PrintSelectDialog>(ctx_);
    formdata_ = std::make_unique<StatementInfoDialog>(ctx_);
    rateEditors_ = std::make_unique<RateEditors>(ctx_, *rateDlog1_, *rateDlog2_, *rateDlog3_,
                                                 *rateDlogf_, *rateDlogp_);
    printRun_ = std::make_unique<PrintRun>(ctx_, *printSelect_, *cancelPrint_);
    makeSortCommands();
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
    // Verify Without Sorting stays disabled until its report can be printed.
    w.bind("SortWizard1", [this] { SortWizard1Click(); });
    w.bind("SortOneFile", [this] { SortOneFileClick(); });
    bindSettingsCommands();
}

void Program::makeSortCommands() {
    WizardPages pages{*mailTypeDlog_, *mlrInfoDlog_, *periodicalDlog_, *prefDlog_};
    sortCommands_ = std::make_unique<SortCommands>(ctx_, pages, *verifyDlog_, *printRun_);
    sortCommands_->endProgram = [this] { endProgram(0); };
    sortCommands_->WriteSortInformation = [this] { quillan::WriteSortInformation(ctx_); };
}

// A settings command that fails is reported and abandoned; outside the wizard the
// dialogs' results do not matter.
void Program::bindSettingsCommands() {
    bindGuarded("MailType1", [this] { mailTypeDlog_->EditMailCategories(0); });
    bindGuarded("MailerInformation1", [this] { mlrInfoDlog_->EditMailerInfo(0); });
    bindGuarded("PeriodicalsSettings1", [this] { periodicalDlog_->EditPeriodicalSettings(0); });
    bindGuarded("Preferences1", [this] { prefDlog_->EditPreferences(0); });
    bindGuarded("TrayBagTagFonts1", [this] { labelFontsDlg_->SetLabelFonts1Click(); });
    bindGuarded("StatementInformation1", [this] { formdata_->StatementInfo1Click(); });
    bindGuarded("StandardRates1", [this] { rateEditors_->StandardARatesClick(); });
    bindGuarded("FirstClassRates1", [this] { rateEditors_->FirstClassRatesClick(); });
    bindGuarded("PeriodicalRates1", [this] { rateEditors_->PeriodicalRatesClick(); });
}

void Program::bindGuarded(const std::string& entryName, std::function<void()> command) {
    mainWindow_->bind(entryName,
                      [this, command = std::move(command)] { runGuarded(ctx_, command); });
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
        SortWizard1Click();
    else
        SortOneFileClick();
    return true;
}

int Program::run() {
    RunStartUp();
    return ctx_.platform.ui.run();
}

} // namespace quillan
