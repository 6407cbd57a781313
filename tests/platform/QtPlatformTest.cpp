// The real backends on Qt's offscreen platform: PDF printing read back with pdftotext,
// windows built from forms and kept in step, screenshots of the main window and splash.

#include "platform/qt/QtPlatform.h"
#include "app/DataFiles.h"
#include "app/Program.h"
#include "platform/ui/Form.h"
#include "tests/support/QtLayoutCheck.h"
#include "tests/support/TestEnvironment.h"

#include "listio/ListFormat.h"
#include "platform/qt/QtUi.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct QtFixture {
    std::string folder;
    ProgramPaths paths;
    std::unique_ptr<QtPlatform> qt;

    QtFixture() {
        folder = quillan::test::artefactFolder() + "qt-program-" + std::to_string(getpid()) + "/";
        fs::remove_all(folder);
        fs::create_directories(folder + "tables");
        for (const auto& e : fs::directory_iterator(QUILLAN_SHIPPED_TABLES))
            if (e.path().extension() == ".dat")
                fs::copy_file(e.path(), folder + "tables/" + e.path().filename().string());
        paths = resolveProgramPaths(folder);
        static int argc = 1;
        static char name[] = "qt_platform_tests";
        static char* argv[] = {name, nullptr};
        qt = std::make_unique<QtPlatform>(argc, argv, paths);
    }
};

std::unique_ptr<QtFixture>& fixtureSlot() {
    static std::unique_ptr<QtFixture> f;
    return f;
}

QtFixture& fixture() {
    if (!fixtureSlot())
        fixtureSlot() = std::make_unique<QtFixture>();
    return *fixtureSlot();
}

// Qt is torn down when the tests end, while its own globals are still alive; as a static
// it would go after them.
struct QtTearDown : ::testing::Environment {
    void TearDown() override { fixtureSlot().reset(); }
};
const auto* const qtTearDown = ::testing::AddGlobalTestEnvironment(new QtTearDown);

// The scratch program folder goes with the process.
struct FolderCleanup {
    ~FolderCleanup() {
        std::error_code ec;
        fs::remove_all(quillan::test::artefactFolder() + "qt-program-" + std::to_string(getpid()),
                       ec);
    }
} cleanup;

} // namespace

TEST(QtPlatform, RunsUnattendedWithoutADisplay) {
    EXPECT_TRUE(fixture().qt->unattended());
    Platform p = fixture().qt->platform();
    EXPECT_EQ(p.ui.messageBox(MessageKind::Warning, MessageButtons::OkCancel, "text", ""),
              ModalResult::Ok);
}

TEST(QtPlatform, PdfPrinterWritesPagesThatReadBack) {
    PrinterDevice& printer = fixture().qt->platform().printer;
    ASSERT_EQ(printer.printerName(), "PDF");
    EXPECT_EQ(printer.dpiX(), 600);
    // As an office laser printer: the page is the printable area, a quarter inch in from each
    // edge of the sheet, and positions count from its corner.
    EXPECT_EQ(printer.pageWidth(), 4800);
    EXPECT_EQ(printer.printableOffset(), (Point{150, 150}));
    printer.setTitle("Quillan Test Printout");
    ASSERT_TRUE(printer.beginDoc());
    EXPECT_EQ(printer.pageHeight(), 6300);
    printer.setFont({"Arial", 14, true, false, false});
    printer.textOut(600, 600, "PAGE ONE 5-DIGIT 75201");
    int width = printer.textWidth("PAGE ONE");
    EXPECT_GT(width, 14 * 600 / 72 * 2);
    EXPECT_LT(width, 14 * 600 / 72 * 8);
    printer.moveTo(600, 900);
    printer.lineTo(4500, 900);
    EXPECT_EQ(printer.penPosition(), (Point{4500, 900}));
    printer.newPage();
    printer.setFont({"Arial", 10, false, false, false});
    printer.textOut(600, 600, "PAGE TWO MIXED ADC");
    printer.rectangle(500, 500, 4600, 1200);
    printer.endDoc();
    std::string pdf = printer.lastOutput();
    ASSERT_TRUE(fs::exists(pdf)) << pdf;
    EXPECT_EQ(fs::path(pdf).parent_path().string() + "/", fixture().paths.printoutsFolder);
    std::string text = quillan::test::runCommand("pdftotext -layout '" + pdf + "' -");
    auto first = text.find("PAGE ONE 5-DIGIT 75201");
    auto feed = text.find('\f');
    auto second = text.find("PAGE TWO MIXED ADC");
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_LT(first, feed);
    EXPECT_GT(second, feed) << "the second text is on the second page";
    std::string info = quillan::test::runCommand("pdfinfo '" + pdf + "'");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +2\n"))) << info;
    EXPECT_NE(info.find("612 x 792 pts"), std::string::npos) << info;
    // The first text's top-left corner, 72 points into the printable area, lies 90 points
    // from the sheet's edges; its width is the one measured.
    std::string boxes = quillan::test::runCommand("pdftotext -bbox -f 1 -l 1 '" + pdf + "' -");
    std::smatch word;
    ASSERT_TRUE(std::regex_search(
        boxes, word,
        std::regex("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\"[^>]*>PAGE<")))
        << boxes;
    EXPECT_NEAR(std::stod(word[1]), 90, 0.01);
    EXPECT_NEAR(std::stod(word[2]), 90, 0.5);
    printer.setFont({"Arial", 14, true, false, false});
    EXPECT_NEAR(std::stod(word[3]) - std::stod(word[1]), printer.textWidth("PAGE") * 72.0 / 600,
                0.2);
}

// The program's text is bytes: UTF-8, or else one byte a character. Whatever is printed reads
// back as the same characters, also past the first 224 different ones a document uses, which
// take codes of two bytes.
TEST(QtPlatform, PdfPrinterTextReadsBackCharacterForCharacter) {
    PrinterDevice& printer = fixture().qt->platform().printer;
    std::string many;
    for (char32_t c = 0x100; c < 0x180; ++c) // Latin Extended-A, Greek, Cyrillic, two bytes
        many += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    for (char32_t c = 0x410; c < 0x450; ++c)
        many += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    std::string ascii;
    for (char c = '!'; c <= '~'; ++c)
        ascii += c;
    printer.setTitle("Quillan Characters");
    ASSERT_TRUE(printer.beginDoc());
    printer.setFont({"Arial", 10, false, false, false});
    // Lines of 48 characters or fewer, which fit across the page.
    std::vector<std::string> lines = {ascii.substr(0, 47), ascii.substr(47)};
    for (size_t at = 0; at < many.size(); at += 96)
        lines.push_back(many.substr(at, 96));
    printer.textOut(300, 300, "CA\xD1ON CITY TX"); // not UTF-8: a byte a character
    printer.textOut(300, 450,
                    "Zo\xC3\xAB \xC3\x91"
                    "and\xC3\xBA");
    for (size_t i = 0; i < lines.size(); ++i)
        printer.textOut(300, 600 + 150 * static_cast<int>(i), lines[i]);
    printer.endDoc();
    std::string text = quillan::test::runCommand("pdftotext -raw '" + printer.lastOutput() + "' -");
    lines.push_back("CA\xC3\x91ON CITY TX");
    lines.push_back("Zo\xC3\xAB \xC3\x91"
                    "and\xC3\xBA");
    for (const std::string& line : lines)
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
}

TEST(QtPlatform, WindowStaysInStepWithItsForm) {
    Platform p = fixture().qt->platform();
    Form form(p.ui, "SyncDlog", "Sync");
    auto& edit = form.add(ControlKind::Edit, "stack", "Pieces in a 5-inch stack:");
    auto& group = form.add(ControlKind::RadioGroup, "TrayType", "Tray Type:");
    group.setItems({"mm (standard)", "emm (oversize)"});
    int clicks = 0;
    group.onClick = [&] { ++clicks; };
    std::string png = quillan::test::artefactFolder() + "sync-dialog.png";
    edit.setText("50");
    group.setItemIndex(1);
    ASSERT_TRUE(fixture().qt->saveScreenshot(form, png));
    EXPECT_GT(fs::file_size(png), 500u);
    EXPECT_EQ(clicks, 0);
}

TEST(QtPlatform, DoubleClickOnALabelReachesItsControl) {
    Platform p = fixture().qt->platform();
    Form form(p.ui, "ClickDlog", "Click");
    auto& label = form.add(ControlKind::Label, "zip5Label", "Zip5:");
    int doubleClicks = 0;
    label.onDoubleClick = [&] { ++doubleClicks; };
    ASSERT_TRUE(fixture().qt->saveScreenshot(form, quillan::test::artefactFolder() + "click.png"));
    QLabel* widget = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == "zip5Label")
            widget = qobject_cast<QLabel*>(w);
    ASSERT_NE(widget, nullptr);
    QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(2, 2),
                      widget->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    EXPECT_EQ(doubleClicks, 1);
}

TEST(QtPlatform, DoubleClickOnAListRowReachesItsControl) {
    Platform p = fixture().qt->platform();
    Form form(p.ui, "RowDlog", "Rows");
    auto& list = form.add(ControlKind::ListBox, "TablesGrid");
    list.setItems({"Table1", "Mailing"});
    int row = -1;
    list.onDoubleClick = [&] { row = list.itemIndex(); };
    ASSERT_TRUE(fixture().qt->saveScreenshot(form, quillan::test::artefactFolder() + "rows.png"));
    QListWidget* widget = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == "TablesGrid")
            widget = qobject_cast<QListWidget*>(w);
    ASSERT_NE(widget, nullptr);
    widget->setCurrentRow(1);
    Q_EMIT widget->itemDoubleClicked(widget->item(1));
    EXPECT_EQ(row, 1);
}

TEST(QtPlatform, OpenDialogShowsAccessAndExcelFilesWhateverTheCaseOfTheirNames) {
    fixture();
    std::string folder =
        quillan::test::artefactFolder() + "open-dialog-" + std::to_string(getpid()) + "/";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* name : {"list.mdb", "LIST.XLS", "OTHER.MDB", "other.xls", "notes.txt"})
        std::ofstream(folder + name) << "x";
    FileDialogOptions options;
    options.title = "Find the mailing list you wish to sort";
    options.initialFolder = folder;
    options.filters = quillan::mailingListFilters();
    std::unique_ptr<QFileDialog> dialog = QtUi::makeOpenDialog(options);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setDirectory(QString::fromStdString(folder));
    dialog->show();
    auto* view = dialog->findChild<QListView*>("listView");
    ASSERT_NE(view, nullptr);
    auto shown = [&](const char* filter) {
        dialog->selectNameFilter(filter);
        std::vector<std::string> names;
        // The folder is read in the background: wait until it is in.
        for (int wait = 0; wait < 200; ++wait) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            names.clear();
            QModelIndex root = view->rootIndex();
            for (int i = 0; i < view->model()->rowCount(root); ++i)
                names.push_back(view->model()->index(i, 0, root).data().toString().toStdString());
            std::sort(names.begin(), names.end());
            if (names.size() >= 2)
                break;
        }
        return names;
    };
    EXPECT_EQ(shown("Access (*.MDB)"), (std::vector<std::string>{"OTHER.MDB", "list.mdb"}));
    EXPECT_EQ(shown("Excel (*.XLS)"), (std::vector<std::string>{"LIST.XLS", "other.xls"}));
    fs::remove_all(folder);
}

TEST(QtPlatform, F1InAWindowAsksForItsHelp) {
    Platform p = fixture().qt->platform();
    Form form(p.ui, "HelpDlog", "Help wanted");
    form.add(ControlKind::Label, "note", "F1 for help");
    int asked = 0;
    form.onHelp = [&] { ++asked; };
    ASSERT_TRUE(fixture().qt->saveScreenshot(form, quillan::test::artefactFolder() + "help.png"));
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Help wanted")
            window = w;
    ASSERT_NE(window, nullptr);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(window, &f1);
    EXPECT_EQ(asked, 1);
}

// A menu entry switched off while a command runs is off in the window at once, and the very
// entry chosen (whose command is still running) stays the same object.
TEST(QtPlatform, MenuEntriesAreSwitchedInPlace) {
    Platform p = fixture().qt->platform();
    Form form(p.ui, "MenuDlog", "Menus");
    MenuItem sort;
    sort.name = "SortOneFile";
    sort.caption = "Sort One List";
    int runs = 0;
    sort.onClick = [&] { ++runs; };
    MenuItem top;
    top.name = "Sort1";
    top.caption = "&Sort";
    top.children = {sort};
    form.menus().push_back(top);
    ASSERT_TRUE(fixture().qt->saveScreenshot(form, quillan::test::artefactFolder() + "menus.png"));
    auto action = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "MenuDlog")
                return w->findChild<QAction*>("SortOneFile");
        return static_cast<QAction*>(nullptr);
    };
    QAction* before = action();
    ASSERT_NE(before, nullptr);
    form.findMenuItem("SortOneFile")->enabled = false;
    form.menusChanged();
    EXPECT_EQ(action(), before);
    EXPECT_FALSE(before->isEnabled());
    before->trigger();
    EXPECT_EQ(runs, 0);
    form.findMenuItem("SortOneFile")->enabled = true;
    form.menusChanged();
    before->trigger();
    EXPECT_EQ(runs, 1);
}

TEST(QtPlatform, LayoutCheckFindsWhatAPersonCouldNotRead) {
    Platform p = fixture().qt->platform();
    Form form(p.ui, "CrampedDlog", "Cramped");
    form.setAbsoluteLayout(true);
    form.setSize(200, 100);
    form.add(ControlKind::Label, "long", "A caption far too long for its place")
        .setGeometry(Geometry{4, 4, 60, 20});
    form.add(ControlKind::Button, "first", "OK").setGeometry(Geometry{4, 40, 80, 28});
    form.add(ControlKind::Button, "second", "No").setGeometry(Geometry{60, 40, 80, 28});
    form.add(ControlKind::CheckBox, "edge", "Off").setGeometry(Geometry{170, 70, 60, 20});
    ASSERT_TRUE(
        fixture().qt->saveScreenshot(form, quillan::test::artefactFolder() + "cramped.png"));
    EXPECT_EQ(quillan::test::layoutProblems(form),
              (std::vector<std::string>{"long does not show all of its caption",
                                        "edge lies outside the window", "first overlaps second"}));
}

TEST(QtPlatform, ScreenshotsOfMainWindowAndSplash) {
    Platform p = fixture().qt->platform();
    quillan::AppContext ctx(p, fixture().paths, {});
    quillan::Program program(ctx);
    ASSERT_TRUE(program.RunStartUp());
    std::string main = quillan::test::artefactFolder() + "main-window.png";
    std::string splash = quillan::test::artefactFolder() + "splash.png";
    ASSERT_TRUE(fixture().qt->saveScreenshot(program.mainWindow().form(), main));
    ASSERT_TRUE(fixture().qt->saveScreenshot(program.welcome().form(), splash));
    EXPECT_EQ(quillan::test::layoutProblems(program.mainWindow().form()),
              std::vector<std::string>{});
    EXPECT_EQ(quillan::test::layoutProblems(program.welcome().form()), std::vector<std::string>{});
    EXPECT_EQ(fixture().qt->saveMenuScreenshots(program.mainWindow().form(),
                                                quillan::test::artefactFolder() + "main-menu-"),
              6);
    EXPECT_EQ(program.welcome().form().control("Version").caption(), "6.2.4 - Updated 4/1/03");

    // After a print run of all four reports the note of where they went reads in full.
    program.mainWindow().showPrintouts(fixture().paths.printoutsFolder,
                                       {"Quillan Postage Statement 2025-03-01 101500.pdf",
                                        "Quillan Mail Prep Instructions 2025-03-01 101501.pdf",
                                        "Quillan Qualification Report 2025-03-01 101502.pdf",
                                        "Quillan Tray Tags 2025-03-01 101503.pdf"});
    ASSERT_TRUE(
        fixture().qt->saveScreenshot(program.mainWindow().form(), quillan::test::artefactFolder() +
                                                                      "main-window-printouts.png"));
    EXPECT_EQ(quillan::test::layoutProblems(program.mainWindow().form()),
              std::vector<std::string>{});
}
