#pragma once

#include "app/AppContext.h"
#include "app/ProgressPicture.h"
#include "platform/ui/Form.h"

#include <functional>
#include <string>
#include <vector>

namespace quillan {

// The main window: its menus and the hidden progress picture, which shows the progress of
// every long step while the window lives. Menu entries start disabled; the program binds a
// command to each entry it can run.
class MainWindow {
public:
    explicit MainWindow(AppContext& ctx);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    platform::Form& form() { return form_; }
    ProgressPicture& progressPicture() { return picture_; }

    // Binds a command to the menu entry of that name and enables it.
    void bind(const std::string& entryName, std::function<void()> command);

    // While a command works, every entry that would read or change the settings, the tables
    // or a list is disabled, so that nothing else starts under it; Exit (which asks first)
    // and the help stay.
    void setCommandRunning(bool running);
    static bool availableWhileCommandRuns(const std::string& entryName);

    // After a print run: where the PDF files went, with a button that opens the folder;
    // hidden again when the next command starts.
    void showPrintouts(const std::string& folder, const std::vector<std::string>& files);
    void hidePrintouts();
    std::function<void()> openPrintoutsFolder;

    // The menu entries of postal list n (1 to 12) under Edit Postal Lists and Print Postal
    // Lists.
    static const std::string& editPostalListEntry(int number);
    static const std::string& printPostalListEntry(int number);

private:
    void buildMenus();
    void buildProgressControls();
    void buildPrintoutsNote();

    AppContext& ctx_;
    platform::Form form_;
    ProgressPicture picture_;
    std::vector<std::string> boundEntries_;
};

} // namespace quillan
