#pragma once

#include "app/AppContext.h"
#include "app/CancelPrintDialog.h"
#include "app/FolderOpener.h"
#include "app/LabelFontsDialog.h"
#include "app/LabelListDialog.h"
#include "app/MailTypeDialog.h"
#include "app/MailerInfoDialog.h"
#include "app/MainWindow.h"
#include "app/PeriodicalDialog.h"
#include "app/PrefDialog.h"
#include "app/PrintCommands.h"
#include "app/PrintJobDialogs.h"
#include "app/PrintSelectDialog.h"
#include "app/RateDialog1.h"
#include "app/RateDialog2.h"
#include "app/RateDialog3.h"
#include "app/RateDialogF.h"
#include "app/RateDialogP.h"
#include "app/RateEditors.h"
#include "app/SortCommands.h"
#include "app/StatementInfoDialog.h"
#include "app/TableDialog.h"
#include "app/UiNotices.h"
#include "app/WelcomeDialog.h"
#include "app/ZipChartDialog.h"
#include "platform/ui/Timer.h"
#include "printouts/PrintRun.h"

#include "app/VerifyDialog.h"

#include <functional>
#include <memory>

namespace quillan {

// The program block: makes the main window and every dialog once, starts up, and ends
// the program by one of its three routes (Exit, closing the main window, the end of a
// command-line run).
class Program {
public:
    // The program's windows become the context's notices while the program block lives.
    explicit Program(AppContext& ctx);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    MainWindow& mainWindow() { return *mainWindow_; }
    WelcomeDialog& welcome() { return *welcome_; }
    MailerInfoDialog& mlrInfoDlog() { return *mlrInfoDlog_; }
    PrefDialog& prefDlog() { return *prefDlog_; }
    MailTypeDialog& mailTypeDlog() { return *mailTypeDlog_; }
    PeriodicalDialog& periodicalDlog() { return *periodicalDlog_; }
    CancelPrintDialog& cancelPrint() { return *cancelPrint_; }
    PrintSelectDialog& printSelect() { return *printSelect_; }
    PrintJobDialogs& printJob() { return *printJob_; }
    PrintSession& printSession() { return *printSession_; }
    PrintRun& printRun() { return *printRun_; }
    VerifyDialog& verifyDialog() { return *verifyDlog_; }
    TableDialog& tableDialog() { return *tableDlog_; }
    LabelListDialog& updateDlog() { return *updateDlog_; }
    ZipChartDialog& editZipsDlog() { return *editZipsDlog_; }
    PrintCommands& printCommands() { return *printCommands_; }
    // Every window the program made, the main window first.
    std::vector<platform::Form*> forms();

    // Fixes the folders, loads the data folder and acts on the command line. False when
    // start-up failed and the program has already been told to end.
    bool RunStartUp();
    // RunStartUp, then the message loop; returns the exit status.
    int run();

    // Ends the program: closes the help, frees the lists, ends the message loop.
    void endProgram(int exitStatus);

    SortCommands& sortCommands() { return *sortCommands_; }
    void runSortWizard();
    void sortOneList();
    void verifyWithoutSorting();

    // What a command that reads, sorts or prints is doing: empty while none works.
    enum class Work { None, Sorting, Verifying, Printing };
    Work work() const { return work_; }
    // Exit, and the main window's close, while a command works: the question whether to stop
    // it. Yes stops the command at its next safe point, as Cancel would, and the program ends
    // after it; nothing is freed under it.
    void askToStopWork();

private:
    void bindCommands();
    void bindSettingsCommands();
    void bindPostalListCommands();
    void bindReprintCommands();
    void bindGuarded(const std::string& entryName, std::function<void()> command);
    void showContents();
    void searchHelpTopics();
    void showAbout();
    void setUpPage();
    void exitProgram();
    bool mayCloseMainWindow();
    // Exit or the main window's close asked while a box or dialog of the command waited for
    // its answer: taken up, as if asked then, once nothing waits for an answer any more.
    // False (not taken) outside a command, where a box in front keeps them from the window.
    bool holdLeaveRequest(const std::string& menuEntry);
    void heldBoxAnswered(int stillWaiting);
    // Before the next box of the command comes up, a request whose box was answered is
    // taken up.
    void takeUpAnsweredLeaveRequest();
    void takeUpHeldLeaveRequest();
    void takeUpLeaveRequest();
    // Runs a command that reads, sorts or prints: the menus that would start another or
    // change what it uses are off until it ends, and an Exit asked for meanwhile ends the
    // program then.
    void runCommand(Work work, const std::function<void()>& command);
    void showWherePrintoutsWent();
    void setHelpFile();
    void makeSortCommands();
    void makePrintRun();

    AppContext& ctx_;
    UiNotices notices_;
    Notices& noticesBefore_;
    Work work_ = Work::None;
    bool stopAsked_ = false;
    bool askingToStop_ = false;
    platform::Timer heldLeave_; // on while a request is held
    int heldUnder_ = 0;         // how many boxes waited when it was made
    bool heldBoxAnswered_ = false;
    FolderOpener folderOpener_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<WelcomeDialog> welcome_;
    std::unique_ptr<MailerInfoDialog> mlrInfoDlog_;
    std::unique_ptr<PrefDialog> prefDlog_;
    std::unique_ptr<VerifyDialog> verifyDlog_;
    std::unique_ptr<TableDialog> tableDlog_;
    std::unique_ptr<MailTypeDialog> mailTypeDlog_;
    std::unique_ptr<PeriodicalDialog> periodicalDlog_;
    std::unique_ptr<RateDialogF> rateDlogf_;
    std::unique_ptr<RateDialog2> rateDlog2_;
    std::unique_ptr<RateDialog3> rateDlog3_;
    std::unique_ptr<LabelFontsDialog> labelFontsDlg_;
    std::unique_ptr<RateDialog1> rateDlog1_;
    std::unique_ptr<RateDialogP> rateDlogp_;
    std::unique_ptr<StatementInfoDialog> formdata_;
    std::unique_ptr<RateEditors> rateEditors_;
    std::unique_ptr<CancelPrintDialog> cancelPrint_;
    std::unique_ptr<PrintSelectDialog> printSelect_;
    std::unique_ptr<PrintJobDialogs> printJob_;
    std::unique_ptr<PrintSession> printSession_;
    std::unique_ptr<PrintRun> printRun_;
    std::unique_ptr<SortCommands> sortCommands_;
    std::unique_ptr<ZipChartDialog> editZipsDlog_;
    std::unique_ptr<LabelListDialog> updateDlog_;
    std::unique_ptr<PrintCommands> printCommands_;
};

} // namespace quillan
