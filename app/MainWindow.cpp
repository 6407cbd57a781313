#include "app/MainWindow.h"

#include "app/AfterSortReports.h"
#include "core/PostalCharts.h"

namespace quillan {

using platform::ControlKind;
using platform::MenuItem;

MainWindow::MainWindow(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "MainWindow", "Quillan"), picture_(ctx.platform.ui, form_) {
    form_.setAbsoluteLayout(true);
    form_.setSize(380, 300);
    form_.setColor(platform::colors::Teal);
    buildMenus();
    buildProgressControls();
    buildPrintoutsNote();
    ctx_.setProgress(picture_);
}

MainWindow::~MainWindow() {
    ctx_.resetProgress();
}

namespace {

const std::vector<std::string> EditPostalListEntries = {
    "EditTDigitSacks",      "EditSchemeSacks",    "EditSCFSacks",         "EditADCSacks",
    "ADCLabelsPeriodical1", "EditAADCSacks",      "Edit1stClAA",          "EditDBMCEntryPoints",
    "EditBMCASFEntry",      "EditNonBMCASFEntry", "NonBMCASFPeriodical1", "PeriodicalZones1"};
const std::vector<std::string> PrintPostalListEntries = {
    "Pnt3DigitSacks",    "PntSchemeSacks",        "PntSCFSacks",
    "PntADCSacks",       "ADCLabelsPeriodicals1", "PntAADCSacks",
    "Pnt1stClAA",        "PntDBMCEntryPoints",    "PntBMCASFEntry",
    "PntNonBMCASFEntry", "NonBMCASFPeriodicals1", "PeriodicalZones2"};

} // namespace

const std::string& MainWindow::editPostalListEntry(int number) {
    return EditPostalListEntries.at(static_cast<size_t>(number - 1));
}

const std::string& MainWindow::printPostalListEntry(int number) {
    return PrintPostalListEntries.at(static_cast<size_t>(number - 1));
}

static MenuItem entry(std::string name, std::string caption, std::string shortcut = {}) {
    MenuItem item;
    item.name = std::move(name);
    item.caption = std::move(caption);
    item.shortcut = std::move(shortcut);
    item.enabled = false;
    return item;
}

static MenuItem separator() {
    MenuItem item;
    item.caption = "-";
    return item;
}

static MenuItem menu(std::string name, std::string caption, std::vector<MenuItem> children) {
    MenuItem item;
    item.name = std::move(name);
    item.caption = std::move(caption);
    item.children = std::move(children);
    return item;
}

static MenuItem postalListMenu(std::string name, std::string caption,
                               const std::vector<std::string>& handlers) {
    std::vector<MenuItem> entries;
    for (const PostalList& list : postalLists())
        entries.push_back(entry(handlers[static_cast<size_t>(list.number - 1)], list.menuEntry));
    return menu(std::move(name), std::move(caption), std::move(entries));
}

// The File menu: an entry for each after-sort report, which prints it again from the
// sort-result file, then Page Setup and Exit.
static MenuItem fileMenu() {
    std::vector<MenuItem> entries;
    for (const AfterSortReportEntry& report : afterSortReportTable())
        entries.push_back(entry(report.menuEntry, report.menuCaption));
    for (MenuItem item : {separator(), entry("PageSetup", "Page Setup"), separator(),
                          entry("Exit", "E&xit", "Ctrl+E")})
        entries.push_back(std::move(item));
    return menu("File1", "&File", std::move(entries));
}

void MainWindow::buildMenus() {
    auto& menus = form_.menus();
    menus.push_back(fileMenu());
    menus.push_back(menu("Sort1", "&Sort",
                         {entry("SortWizard1", "Sort Wizard", "Ctrl+S"), separator(),
                          entry("SortOneFile", "Sort One List"),
                          entry("VerifyWOSorting", "Verify Without Sorting", "Ctrl+V")}));
    menus.push_back(menu(
        "Settings1", "Se&ttings",
        {entry("MailType1", "Mail Categories"), entry("MailerInformation1", "Mailer Information"),
         entry("PeriodicalsSettings1", "Periodicals Settings"),
         entry("Preferences1", "Preferences"), entry("TrayBagTagFonts1", "Tray/Bag Tag Fonts"),
         entry("StatementInformation1", "Statement Information")}));
    menus.push_back(menu("Rates1", "&Rates",
                         {entry("StandardRates1", "Standard Rates"),
                          entry("FirstClassRates1", "First Class Rates"),
                          entry("PeriodicalRates1", "Periodical Rates")}));
    menus.push_back(
        menu("PostalLists1", "Postal &Lists",
             {postalListMenu("EditPostalLists1", "Edit Postal Lists", EditPostalListEntries),
              postalListMenu("PrintPostalLists1", "Print Postal Lists", PrintPostalListEntries)}));
    menus.push_back(menu("Help1", "&Help",
                         {entry("Contents1", "&Contents"), entry("TopicSearch1", "&Topic Search"),
                          separator(), entry("About1", "&About")}));
}

void MainWindow::buildProgressControls() {
    using platform::Geometry;
    form_.add(ControlKind::Label, "TopLabel")
        .setGeometry(Geometry{6, 8, 368, 28})
        .setFont({"Arial", 14, true, false, false})
        .setVisible(false);
    form_.add(ControlKind::Image, "Image2")
        .setGeometry(Geometry{6, 43, 200, 200})
        .setVisible(false);
    form_.add(ControlKind::Image, "Image1")
        .setGeometry(Geometry{261, 74, 100, 100})
        .setVisible(false);
    form_.add(ControlKind::Label, "Stckr")
        .setGeometry(Geometry{271, 106, 80, 30})
        .setFont({"MS Sans Serif", 32, true, false, false})
        .setColor(platform::colors::Black)
        .setVisible(false);
    form_.add(ControlKind::Label, "BottomLabel")
        .setGeometry(Geometry{6, 250, 368, 28})
        .setFont({"Arial", 12, false, false, false})
        .setVisible(false);
}

void MainWindow::buildPrintoutsNote() {
    using platform::Geometry;
    form_.add(ControlKind::Memo, "PrintoutsNote")
        .setReadOnly(true)
        .setGeometry(Geometry{6, 8, 368, 238})
        .setVisible(false);
    form_.add(ControlKind::Button, "OpenFolderBtn", "Open Folder")
        .setGeometry(Geometry{254, 258, 120, 28})
        .setVisible(false)
        .onClick = [this] {
        if (openPrintoutsFolder)
            openPrintoutsFolder();
    };
}

void MainWindow::bind(const std::string& entryName, std::function<void()> command) {
    MenuItem* item = form_.findMenuItem(entryName);
    if (!item)
        return;
    item->onClick = std::move(command);
    item->enabled = true;
    boundEntries_.push_back(entryName);
    form_.menusChanged();
}

bool MainWindow::availableWhileCommandRuns(const std::string& entryName) {
    return entryName == "Exit" || entryName == "Contents1" || entryName == "TopicSearch1" ||
           entryName == "About1";
}

void MainWindow::setCommandRunning(bool running) {
    for (const std::string& name : boundEntries_)
        if (!availableWhileCommandRuns(name))
            form_.findMenuItem(name)->enabled = !running;
    form_.menusChanged();
}

void MainWindow::showPrintouts(const std::string& folder, const std::vector<std::string>& files) {
    std::vector<std::string> lines = {"The printouts are PDF files in the folder", folder, ""};
    lines.insert(lines.end(), files.begin(), files.end());
    form_.control("PrintoutsNote").setLines(std::move(lines)).setVisible(true);
    form_.control("OpenFolderBtn").setVisible(true);
}

void MainWindow::hidePrintouts() {
    form_.control("PrintoutsNote").setVisible(false);
    form_.control("OpenFolderBtn").setVisible(false);
}

} // namespace quillan
