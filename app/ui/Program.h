#pragma once

#include "core/AppContext.h"
#include "ui/MainWindow.h"
#include "ui/WelcomeDialog.h"

#include "VerifyDialog.h"

#include <functional>
#include <memory>

namespace quillan {

// The program block: makes the main window and every dialog once, starts up, and ends
// the program by one of its three routes (Exit, closing the main window, the end of a
// command-line run).
class Program {
public:
    explicit Program(AppContext& ctx);
    ~Program();

    MainWindow& mainWindow() { return *mainWindow_; }
    WelcomeDialog& welcome() { return *welcome_; }
    VerifyDialog& verifyDialog() { return *verifyDlog_; }

    // Fixes the folders and version strings, loads the data folder and acts on the command
    // line. False when start-up failed and the program has already been told to end.
    bool RunStartUp();
    // RunStartUp, then the message loop; returns the exit status.
    int run();

    // Ends the program: closes the help, frees the lists, ends the message loop.
    void endProgram(int exitStatus);

    // The sort commands, once they exist. Unset, a command line that asks for one ends the
    // program with an error.
    std::function<void()> SortWizard1Click;
    std::function<void()> SortOneFileClick;

private:
    void bindCommands();
    void Contents1Click();
    void TopicSearch1Click();
    void About1Click();
    void PageSetupClick();
    void ExitClick();
    void setHelpFile();
    void runCommandLineSort(const std::function<void()>& command, const char* what);

    AppContext& ctx_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<WelcomeDialog> welcome_;
    std::unique_ptr<VerifyDialog> verifyDlog_;
};

} // namespace quillan
