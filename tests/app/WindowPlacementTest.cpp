// Where the real windows stand on a 1280 x 1024 screen (Qt's offscreen screen of that size),
// driven through Qt's own event loop: help beside the window it explains, and the pages of
// the Sort Wizard and of a rate editor in one size and place.

#include "app/DataFiles.h"
#include "app/Program.h"
#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "platform/qt/HelpWindowPlace.h"
#include "platform/qt/QtHelpViewer.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtUi.h"
#include "tests/support/ProgramDesk.h"
#include "tests/support/QtDesk.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <functional>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

using test::closeIfStillOpen;
using test::describe;
using test::onModal;

struct QtApplication {
    QtApplication() { test::deskApplication(); }
};

struct Desk : QtApplication, test::ProgramDesk {};

// F1 in the dialog: the help window stands clear of it wherever the screen has room beside
// it, on the screen; Escape closes it.
void expectHelpBeside(Desk& d, QWidget* dialog, const std::string& name) {
    SCOPED_TRACE(name);
    QTest::keyClick(dialog, Qt::Key_F1);
    QWidget* help = d.help.window();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    QRect screen = dialog->screen()->availableGeometry();
    QRect beside = dialog->frameGeometry();
    QRect page = help->frameGeometry();
    EXPECT_TRUE(screen.contains(page)) << describe(page);
    // Every dialog leaves room beside it on this screen, so none may be covered.
    int room = std::max(screen.right() - beside.right(), beside.left() - screen.left()) - 8;
    EXPECT_GE(room, LeastHelpWidth) << describe(beside);
    EXPECT_FALSE(page.intersects(beside))
        << "help " << describe(page) << " over the dialog " << describe(beside);
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible()) << "Escape closes help";
}

// Opens the window through `open`, checks the help of the window that comes up, and closes it.
void checkHelpOf(Desk& d, const std::string& name, const std::function<void()>& open) {
    onModal([&d, name](QWidget* dialog) {
        expectHelpBeside(d, dialog, name);
        closeIfStillOpen(dialog);
    });
    open();
}

} // namespace

TEST(WindowPlacement, HelpStandsBesideEveryDialogAndEscapeClosesIt) {
    Desk d;
    for (const char* entry : {"MailType1", "MailerInformation1", "PeriodicalsSettings1",
                              "Preferences1", "TrayBagTagFonts1", "StatementInformation1",
                              "StandardRates1", "FirstClassRates1", "PeriodicalRates1"})
        checkHelpOf(d, entry, [&] { d.click(entry); });
    checkHelpOf(d, "label editor", [&] { d.click(MainWindow::editPostalListEntry(4)); });
    checkHelpOf(d, "print selection", [&] { d.click(MainWindow::printPostalListEntry(1)); });
    checkHelpOf(d, "Page Setup", [&] { d.click("PageSetup"); });

    // The ZIP chart editor, over the label editor it comes from.
    onModal([&d](QWidget* labels) {
        onModal([&d](QWidget* zips) {
            expectHelpBeside(d, zips, "ZIP chart editor");
            closeIfStillOpen(zips);
        });
        QTest::keyClick(labels, Qt::Key_Return); // Zip List
        closeIfStillOpen(labels);
    });
    d.click(MainWindow::editPostalListEntry(1));

    std::string list = test::fixturePath("lists/golden-comma.txt");
    FieldRoles roles;
    roles.zipColumn = 0;
    checkHelpOf(d, "field dialog", [&] {
        d.program.verifyDialog().confirm({formatNamed(KindComma), list, 10, 6, roles});
    });
}

// Help from the main window stands beside it, clear of its menus; a word searched for is
// cleared when F1 shows another page; Ctrl+W closes the window.
TEST(WindowPlacement, HelpFromTheMenusLeavesTheMainWindowClear) {
    Desk d;
    QWidget* main = d.mainWidget();
    ASSERT_NE(main, nullptr);
    main->move(100, 80);
    d.click("TopicSearch1");
    QWidget* help = d.help.window();
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->frameGeometry().intersects(main->frameGeometry()))
        << describe(help->frameGeometry()) << " over " << describe(main->frameGeometry());
    d.help.searchField()->setText("sheet selector");
    QTest::keyClick(d.help.searchField(), Qt::Key_Return);
    onModal([&d](QWidget* dialog) {
        QTest::keyClick(dialog, Qt::Key_F1);
        EXPECT_EQ(d.help.searchField()->text().toStdString(), "");
        EXPECT_EQ(d.help.browser()->source().fileName().toStdString(), "topic10.html");
        QTest::keyClick(d.help.window(), Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(d.help.window()->isVisible()) << "Ctrl+W closes help";
        closeIfStillOpen(dialog);
    });
    d.click("MailType1");
}

// Beside a window that leaves the help little room on either side (200 pixels, as a dialog
// does on a 1024 x 768 screen, or less), all of the help window stays on the screen, however
// wide the help window must at least be; with room for a readable page it stays clear.
TEST(WindowPlacement, HelpBesideAWideWindowStaysOnTheScreen) {
    Desk d;
    QWidget* main = d.mainWidget();
    ASSERT_NE(main, nullptr);
    QRect screen = main->screen()->availableGeometry();
    for (int room : {LeastHelpWidth, LeastHelpWidth / 2}) {
        SCOPED_TRACE(room);
        QSize decoration = main->frameGeometry().size() - main->geometry().size();
        main->move(screen.left() + room + 8, 80);
        main->resize(screen.width() - 2 * (room + 8) - decoration.width(), 300);
        d.click("Contents1");
        QWidget* help = d.help.window();
        ASSERT_NE(help, nullptr);
        QRect page = help->frameGeometry();
        EXPECT_TRUE(screen.contains(page)) << describe(page) << " on " << describe(screen);
        if (room >= LeastHelpWidth) {
            EXPECT_FALSE(page.intersects(main->frameGeometry()))
                << describe(page) << " over " << describe(main->frameGeometry());
        }
        QTest::keyClick(help, Qt::Key_Escape);
    }
    // A help window that cannot be as narrow as the room left goes to the screen's edge.
    QRect wide(150, 0, 980, 400);
    QRect place = helpWindowPlace(wide, QRect(0, 0, 1280, 1024), QSize(560, 520), QSize(260, 90));
    EXPECT_EQ(place, QRect(1020, 0, 260, 520)) << describe(place);
}

// The rate editor's six pages, three kinds of grid, come up in one size where the last one
// stood, whatever the person moved it to.
TEST(WindowPlacement, RateEditorPagesKeepOneSizeAndPlace) {
    Desk d;
    std::vector<QRect> seen;
    std::function<void(QWidget*)> page = [&](QWidget* window) {
        seen.push_back(window->frameGeometry());
        window->move(window->pos() + QPoint(30, 20));
        QTest::keyClick(window, Qt::Key_Return); // Next
        if (seen.size() < 6)
            onModal(page);
        closeIfStillOpen(window);
    };
    onModal(page);
    d.click("StandardRates1");
    ASSERT_EQ(seen.size(), 6u);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].size(), seen[0].size()) << "page " << i + 1;
        EXPECT_EQ(seen[i].topLeft(), seen[i - 1].topLeft() + QPoint(30, 20)) << "page " << i + 1;
    }
}

// The Sort Wizard's settings pages, Back and Next, in one size and place.
TEST(WindowPlacement, SortWizardPagesKeepOneSizeAndPlace) {
    Desk d;
    std::vector<std::pair<std::string, QRect>> seen;
    auto press = [&](const char* button, std::function<void(QWidget*)> next) {
        return [&, button, next](QWidget* window) {
            seen.push_back({window->objectName().toStdString(), window->frameGeometry()});
            if (seen.size() == 1)
                window->move(200, 150);
            if (next)
                onModal(next);
            if (auto* pressed = window->findChild<QPushButton*>(button))
                pressed->click();
            else
                ADD_FAILURE() << button << " on " << seen.back().first;
            closeIfStillOpen(window);
        };
    };
    // Mail categories, Next; mailer, Back; mail categories, Next; mailer, Next; preferences,
    // Escape.
    std::function<void(QWidget*)> last = [&](QWidget* window) {
        seen.push_back({window->objectName().toStdString(), window->frameGeometry()});
        QTest::keyClick(window, Qt::Key_Escape);
    };
    auto mailerAgain = press("nextBtn", last);
    auto typesAgain = press("nextBtn", mailerAgain);
    auto mailer = press("backBtn", typesAgain);
    onModal(press("nextBtn", mailer));
    d.click("SortWizard1");
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen.back().first, "PrefDlog");
    QRect first = seen[0].second;
    for (size_t i = 1; i < seen.size(); ++i) {
        SCOPED_TRACE(seen[i].first);
        EXPECT_EQ(seen[i].second.size(), first.size());
        EXPECT_EQ(seen[i].second.topLeft(), QPoint(200, 150));
    }
}
