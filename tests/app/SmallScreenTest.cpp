// The real windows on a screen of 800 x 600, the smallest a clerk's desk may have: every
// dialog within the screen with its buttons in view, and F1 in the dialog that finds the
// mailing list.

#include "app/ListFileChoice.h"
#include "tests/support/ProgramDesk.h"
#include "tests/support/QtDesk.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

using test::closeIfStillOpen;
using test::onModal;

using test::describe;

struct SmallScreen {
    SmallScreen() { test::deskApplication(800, 600); }
};

struct Desk : SmallScreen, test::ProgramDesk {};

// The dialog within the screen's free area, and every button of its button row on it.
void expectButtonsOnScreen(QWidget* dialog, const std::string& name) {
    SCOPED_TRACE(name);
    const QRect screen = dialog->screen()->availableGeometry();
    EXPECT_EQ(screen.height(), 600) << "the test's screen";
    EXPECT_TRUE(screen.contains(dialog->frameGeometry())) << describe(dialog->frameGeometry());
    // A dialog laid out by its controls has a button row; one drawn to its own plan has none.
    QWidget* row = dialog->findChild<QWidget*>("buttons");
    if (!row)
        row = dialog;
    int seen = 0;
    for (QPushButton* button : row->findChildren<QPushButton*>()) {
        if (!button->isVisible())
            continue;
        ++seen;
        const QRect at(button->mapToGlobal(QPoint(0, 0)), button->size());
        EXPECT_TRUE(screen.contains(at)) << button->text().toStdString() << " at " << describe(at);
    }
    EXPECT_GE(seen, 2) << "OK or Next, and Cancel";
}

} // namespace

// The tallest dialogs (Mail Categories, Preferences, Periodicals Settings) among them.
TEST(SmallScreen, EveryDialogFitsWithItsButtonsInView) {
    Desk d;
    for (const char* entry : {"MailType1", "MailerInformation1", "PeriodicalsSettings1",
                              "Preferences1", "TrayBagTagFonts1", "StatementInformation1",
                              "StandardRates1", "FirstClassRates1", "PeriodicalRates1"}) {
        onModal([entry](QWidget* dialog) {
            expectButtonsOnScreen(dialog, entry);
            QTest::keyClick(dialog, Qt::Key_Escape);
            closeIfStillOpen(dialog);
        });
        d.click(entry);
    }
    // A dialog shown a second time is as it was the first.
    onModal([](QWidget* dialog) {
        expectButtonsOnScreen(dialog, "Mail Categories again");
        closeIfStillOpen(dialog);
    });
    d.click("MailType1");
}

// F1 in the dialog that finds the list opens its page of help, as in every other window.
TEST(SmallScreen, HelpInTheDialogThatFindsTheList) {
    Desk d;
    std::string shown;
    onModal([&](QWidget* dialog) {
        ASSERT_NE(qobject_cast<QFileDialog*>(dialog), nullptr);
        // As the window system makes the dialog in front the active one.
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_F1);
        if (d.help.window() && d.help.window()->isVisible())
            shown = d.help.browser()->source().fileName().toStdString();
        static_cast<QFileDialog*>(dialog)->reject();
    });
    EXPECT_EQ(ChooseListFile(d.ctx, ListPurpose::Sort), "");
    EXPECT_EQ(shown, "topic22.html");
}
