#include "app/Program.h"

#include "app/AfterSortReports.h"
#include "app/DataFiles.h"
#include "app/HelpTopics.h"
#include "app/ProgramPrintSession.h"
#include "app/RunGuarded.h"
#include "app/WriteBack.h"
#include "core/SettingsList.h"
#include "listio/ListPaths.h"
#include "platform/Interruption.h"
#include "printouts/MailPrepInstructions.h"

#include <iostream>

namespace quillan {

using namespace platform;

namespace {

const char* const ProgramVersion = "6.2.4";
const char* const RatesDate = "4/1/03";
// How often an Exit held under a box looks whether the box has been answered.
constexpr int HeldLeaveCheckMs = 100;

} // namespace

Program::Program(AppContext& ctx)
    : ctx_(ctx), notices_(ctx.platform.ui), noticesBefore_(ctx.notices()),
      heldLeave_(ctx.platform.ui, HeldLeaveCheckMs, [this] { takeUpHeldLeaveRequest(); }),
      folderOpener_(ctx) {
    ctx_.setNotices(notices_);
    ctx_.programVersion = ProgramVersion;
    ctx_.ratesDate = RatesDate;
    mainWindow_ = std::make_unique<MainWindow>(ctx_);
    mainWindow_->form().show();
    welcome_ = std::make_unique<WelcomeDialog>(ctx_);
    welcome_->endProgram = [this](int status) { endProgram(status); };
    welcome_->runSortWizard = [this] { runSortWizard(); };
    mlrInfoDlog_ = std::make_unique<MailerInfoDialog>(ctx_);
    prefDlog_ = std::make_unique<PrefDialog>(ctx_);
    verifyDlog_ = std::make_unique<VerifyDialog>(ctx_);
    tableDlog_ = std::make_unique<TableDialog>(ctx_);
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
    printJob_ = std::make_unique<PrintJobDialogs>(*printSelect_, *cancelPrint_);
    makePrintRun();
    editZipsDlog_ = std::make_unique<ZipChartDialog>(ctx_);
    updateDlog_ = std::make_unique<LabelListDialog>(ctx_, *editZipsDlog_);
    printCommands_ = std::make_unique<PrintCommands>(ctx_, *printRun_);
    makeSortCommands();
    // The printers of the after-sort run; the reprint commands print through them too.
    setAfterSortPrinters(*printRun_);
    bindCommands();
    ctx_.platform.ui.afterAnswer = [this](int stillWaiting) { heldBoxAnswered(stillWaiting); };
    ctx_.platform.ui.beforeAsking = [this] { takeUpAnsweredLeaveRequest(); };
}

Program::~Program() {
    ctx_.platform.ui.afterAnswer = nullptr;
    ctx_.platform.ui.beforeAsking = nullptr;
    ctx_.setNotices(noticesBefore_);
}

std::vector<platform::Form*> Program::forms() {
    std::vector<platform::Form*> all = {
        &mainWindow_->form(),   &welcome_->form(),        &mlrInfoDlog_->form(),
        &prefDlog_->form(),     &verifyDlog_->form(),     &tableDlog_->form(),
        &mailTypeDlog_->form(), &periodicalDlog_->form(), &rateDlogf_->form(),
        &rateDlog2_->form(),    &rateDlog3_->form(),      &labelFontsDlg_->form(),
        &cancelPrint_->form(),  &rateDlog1_->form(),      &rateDlogp_->form(),
        &printSelect_->form(),  &formdata_->form(),       &editZipsDlog_->form(),
        &updateDlog_->form()};
    return all;
}

void Program::bindCommands() {
    MainWindow& w = *mainWindow_;
    w.bind("Contents1", [this] { showContents(); });
    w.bind("TopicSearch1", [this] { searchHelpTopics(); });
    w.bind("About1", [this] { showAbout(); });
    w.bind("PageSetup", [this] { setUpPage(); });
    w.bind("Exit", [this] { exitProgram(); });
    w.form().onCloseQuery = [this](ModalResult) { return mayCloseMainWindow(); };
    w.form().onClose = [this] { exitProgram(); };
    w.form().onRequestWhileHeld = [this](const std::string& entry) {
        return holdLeaveRequest(entry);
    };
    w.openPrintoutsFolder = [this] { folderOpener_.open(ctx_.paths.printoutsFolder); };
    bindHelpKey(ctx_, w.form(), HelpTopic::Menus);
    w.bind("SortWizard1", [this] { runSortWizard(); });
    w.bind("SortOneFile", [this] { sortOneList(); });
    w.bind("VerifyWOSorting", [this] { verifyWithoutSorting(); });
    bindSettingsCommands();
    bindPostalListCommands();
    bindReprintCommands();
}

void Program::makeSortCommands() {
    WizardPages pages{*mailTypeDlog_, *mlrInfoDlog_, *periodicalDlog_, *prefDlog_};
    sortCommands_ =
        std::make_unique<SortCommands>(ctx_, pages, *verifyDlog_, *tableDlog_, *printRun_);
    sortCommands_->endProgram = [this](int status) { endProgram(status); };
    sortCommands_->writeSortInformation = [this](const SortInformationJob& job) {
        return WriteBackSortInformation(ctx_, job);
    };
    sortCommands_->printSummary = [](const std::string& line) { std::cout << line << std::endl; };
    sortCommands_->printVerificationReport = [this](const SortedMailing& mailing) {
        PrintMailPrepInstructions(*printRun_, mailing, MailPrepReport::Verification);
    };
}

// What the reports print through for the whole run.
void Program::makePrintRun() {
    printSession_ = std::make_unique<PrintSession>(programPrintSession(ctx_, *printJob_, notices_));
    printRun_ = std::make_unique<PrintRun>(*printSession_);
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
    bindGuarded("StandardRates1", [this] { rateEditors_->editStandardRates(); });
    bindGuarded("FirstClassRates1", [this] { rateEditors_->editFirstClassRates(); });
    bindGuarded("PeriodicalRates1", [this] { rateEditors_->editPeriodicalRates(); });
}

void Program::bindPostalListCommands() {
    for (const PostalList& list : postalLists()) {
        int number = list.number;
        bindGuarded(MainWindow::editPostalListEntry(number),
                    [this, number] { updateDlog_->editPostalList(number); });
        mainWindow_->bind(MainWindow::printPostalListEntry(number), [this, number] {
            runCommand(Work::Printing, [this, number] { printCommands_->printPostalList(number); });
        });
    }
}

// A reprint is offered once the program has the printer of its report (printRun_->printers,
// which the after-sort run uses too); until then its menu entry stays disabled.
void Program::bindReprintCommands() {
    for (const AfterSortReportEntry& entry : afterSortReportTable()) {
        if (!printRun_->printers[entry.report])
            continue;
        mainWindow_->bind(entry.menuEntry, [this, report = entry.report] {
            runCommand(Work::Printing, [this, report] { printCommands_->reprint(report); });
        });
    }
}

void Program::runSortWizard() {
    runCommand(Work::Sorting, [this] { sortCommands_->runSortWizard(); });
}

void Program::sortOneList() {
    runCommand(Work::Sorting, [this] { sortCommands_->sortOneList(); });
}

void Program::verifyWithoutSorting() {
    runCommand(Work::Verifying, [this] { sortCommands_->verifyWithoutSorting(); });
}

void Program::runCommand(Work work, const std::function<void()>& command) {
    // A second command never starts under the first (its menu entries are off, and so are
    // their keys; a start from elsewhere waits for nobody).
    if (work_ != Work::None)
        return;
    work_ = work;
    mainWindow_->hidePrintouts();
    mainWindow_->setCommandRunning(true);
    printJob_->takePrinted();
    command();
    // The list code still switches the cursor itself and may leave it busy; every command
    // ends with the arrow.
    ctx_.platform.ui.setBusyCursor(false);
    work_ = Work::None;
    if (ctx_.platform.ui.quitting())
        return;
    mainWindow_->setCommandRunning(false);
    if (stopAsked_) {
        endProgram(exitCode(ExitStatus::Cancelled));
        return;
    }
    showWherePrintoutsWent();
}

void Program::showWherePrintoutsWent() {
    std::vector<std::string> files;
    for (const std::string& where : printJob_->takePrinted()) {
        const std::string& folder = ctx_.paths.printoutsFolder;
        if (where.ends_with(".pdf") && where.rfind(folder, 0) == 0)
            files.push_back(where.substr(folder.size()));
    }
    if (!files.empty())
        mainWindow_->showPrintouts(ctx_.paths.printoutsFolder, files);
}

namespace {

std::string stopQuestion(Program::Work work, const std::string& list) {
    const std::string name = list.empty() ? "your list" : fileNameOf(list);
    switch (work) {
    case Program::Work::Sorting:
        return "Quillan is still sorting " + name +
               ". Stop the sort? The list will be left as it was.";
    case Program::Work::Verifying:
        return "Quillan is still verifying " + name + ". Stop verifying it?";
    default:
        return "Quillan is still printing. Stop printing?";
    }
}

} // namespace

// The command owns what it works on: a stop goes the way of Cancel and of a termination
// signal (the command ends at its next safe point, never inside a write), and the program
// ends once the command has.
void Program::askToStopWork() {
    if (work_ == Work::None || stopAsked_)
        return;
    askingToStop_ = true;
    const ModalResult answer =
        ctx_.message(BeepKind::Exclamation, MessageKind::Confirmation, MessageButtons::YesNo,
                     stopQuestion(work_, sortCommands_->listInHand()));
    askingToStop_ = false;
    if (answer != ModalResult::Yes)
        return;
    // A report printing stops at its next page, as at the "Printing" box's Cancel.
    stopAsked_ = true;
    platform::setInterruptionRequested(true);
}

// Under the question whether to stop, or once a stop was asked for, a second request says
// nothing new: it is taken, and nothing more follows from it.
bool Program::holdLeaveRequest(const std::string& menuEntry) {
    if (!menuEntry.empty() && menuEntry != "Exit")
        return false;
    if (work_ == Work::None)
        return false;
    if (askingToStop_ || stopAsked_ || heldLeave_.enabled())
        return true;
    heldUnder_ = ctx_.platform.ui.boxesWaiting();
    heldBoxAnswered_ = false;
    heldLeave_.setEnabled(true);
    return true;
}

// The request belongs to the box it was made under: once that one is answered, the next box
// of the command must not hold it too.
void Program::heldBoxAnswered(int stillWaiting) {
    if (heldLeave_.enabled() && stillWaiting < heldUnder_)
        heldBoxAnswered_ = true;
}

void Program::takeUpAnsweredLeaveRequest() {
    if (heldLeave_.enabled() && heldBoxAnswered_)
        takeUpLeaveRequest();
}

// The command may have ended meanwhile (the box was its last word): then the program ends.
void Program::takeUpHeldLeaveRequest() {
    if (ctx_.platform.ui.quitting()) {
        heldLeave_.setEnabled(false);
        return;
    }
    if (ctx_.platform.ui.waitingForAnswer())
        return;
    takeUpLeaveRequest();
}

void Program::takeUpLeaveRequest() {
    heldLeave_.setEnabled(false);
    heldBoxAnswered_ = false;
    exitProgram();
}

void Program::bindGuarded(const std::string& entryName, std::function<void()> command) {
    mainWindow_->bind(entryName,
                      [this, command = std::move(command)] { runGuarded(ctx_, command); });
}

void Program::setHelpFile() {
    ctx_.platform.help.setHelpFile(ctx_.helpFilePath());
}

void Program::showContents() {
    showHelpTopic(ctx_, ContentsHelpTopic);
}

void Program::searchHelpTopics() {
    setHelpFile();
    ctx_.platform.help.search("");
}

void Program::showAbout() {
    welcome_->showAs(1);
}

void Program::setUpPage() {
    setUpPrinter(ctx_);
}

void Program::exitProgram() {
    if (work_ != Work::None) {
        askToStopWork();
        return;
    }
    endProgram(0);
}

// Closing the window while a command works asks the same question as Exit; the window goes
// only with the program, when the command has ended.
bool Program::mayCloseMainWindow() {
    if (work_ == Work::None)
        return true;
    askToStopWork();
    return false;
}

void Program::endProgram(int exitStatus) {
    setHelpFile();
    ctx_.platform.help.quit();
    FreeDataLists(ctx_);
    // The Access engine goes at exit, with the table and workbook that held the last list.
    ctx_.listComponents.reset();
    ctx_.platform.ui.quit(exitStatus);
}

bool Program::RunStartUp() {
    ctx_.dataFolder = ctx_.paths.dataFolder;
    ctx_.flags.dataMissing = false;
    try {
        LoadDataFiles(ctx_);
    } catch (const std::exception& e) {
        ctx_.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                     std::string(e.what()) + "\nQuillan will close.");
        endProgram(exitCode(ExitStatus::ProgramFailure));
        return false;
    }
    if (!ctx_.flags.dataMissing)
        welcome_->form().control("Version").setCaption(ctx_.programVersion + " - Updated " +
                                                       ctx_.ratesDate);
    if (ctx_.flags.dataMissing || ctx_.runMode == RunMode::Attended) {
        welcome_->showAs(0);
        return true;
    }
    if (ctx_.runMode == RunMode::Partner)
        runSortWizard();
    else
        sortOneList();
    return true;
}

int Program::run() {
    RunStartUp();
    return ctx_.platform.ui.run();
}

} // namespace quillan
