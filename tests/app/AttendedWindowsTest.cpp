// The real windows with a person at them, driven through Qt's own event loop (on the
// offscreen screen): keys in the dialogs, message boxes a person can read, over the dialog
// that raised them, and help that works while a dialog waits for its answer.

#include "app/DataFiles.h"
#include "app/MailTypeDialog.h"
#include "app/MailerInfoDialog.h"
#include "app/RateEditors.h"
#include "app/TableDialog.h"
#include "app/ZipChartDialog.h"
#include "core/ZipRanges.h"
#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "platform/qt/QtHelpViewer.h"
#include "platform/qt/QtUi.h"
#include "tests/support/QtDesk.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace quillan;
using namespace platform;

namespace {

using test::closeIfStillOpen;
using test::onModal;

template <typename T>
T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The program's context over the test geography, with a person at the real windows.
struct Attended {
    Attended() : env(test::geographyFolder()), ui(false), help(helpFolder(), false) {
        test::deskApplication();
        ctx = std::make_unique<AppContext>(Platform{ui, env.printer, help, env.shell, env.config},
                                           resolveProgramPaths(env.folder()));
        ctx->setNotices(notices);
        ctx->dataFolder = ctx->paths.dataFolder;
        LoadDataFiles(*ctx);
    }
    static std::string helpFolder() { return std::string(QUILLAN_TEST_DATA) + "/../../data/help/"; }

    test::TestEnvironment env;
    QtUi ui;
    UiNotices notices{ui};
    QtHelpViewer help;
    std::unique_ptr<AppContext> ctx;
};

// What a person could read in a picture of a window: the share of its pixels away from the
// background colour (text, icon, frames), and the share that is black.
struct Legibility {
    double marked = 0;
    double black = 0;
};

Legibility legibility(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto [colour, n] : counts)
        if (n > most)
            std::tie(background, most) = std::pair{colour, n};
    double all = double(image.width()) * image.height();
    int black = 0;
    for (auto [colour, n] : counts)
        if (qRed(colour) < 24 && qGreen(colour) < 24 && qBlue(colour) < 24)
            black += n;
    return {1.0 - most / all, black / all};
}

// A box a person can read: its text is there, drawn, and the box is not a dark rectangle.
void expectReadable(QWidget* box, const std::string& text, const std::string& file) {
    auto* message = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(message, nullptr) << file;
    EXPECT_EQ(message->text().toStdString(), text) << file;
    QImage picture = box->grab().toImage();
    picture.save(QString::fromStdString(test::artefactFolder() + file));
    Legibility seen = legibility(picture);
    EXPECT_GT(seen.marked, 0.01) << file << ": nothing drawn on the box";
    EXPECT_LT(seen.black, 0.5) << file << ": a dark box";
}

} // namespace

// Every kind of message box shows its text on a box a person can read.
TEST(AttendedWindows, EveryKindOfMessageBoxCanBeRead) {
    Attended a;
    const std::pair<MessageKind, const char*> kinds[] = {
        {MessageKind::Warning, "warning"},
        {MessageKind::Error, "error"},
        {MessageKind::Information, "information"},
        {MessageKind::Confirmation, "confirmation"}};
    for (auto [kind, name] : kinds) {
        const std::string text = std::string("A ") + name + " for the person at the screen.";
        onModal([&](QWidget* box) {
            expectReadable(box, text, std::string("message-") + name + ".png");
            QTest::keyClick(box, Qt::Key_Return);
            closeIfStillOpen(box);
        });
        a.ui.messageBox(kind, MessageButtons::OkCancel, text, "");
    }
}

// The error of a ZIP list that cannot be read comes up over the Edit Zip Codes dialog, which
// stays open with the text as typed.
TEST(AttendedWindows, ZipListErrorIsReadableOverItsDialog) {
    Attended a;
    ZipChartDialog dialog(*a.ctx);
    std::string typedWhenRefused;
    onModal([&](QWidget* zips) {
        QLineEdit* list = child<QLineEdit>(zips, "ZipList");
        list->setFocus();
        list->selectAll();
        QTest::keyClicks(list, "006-0x9");
        onModal([&, zips](QWidget* box) {
            EXPECT_NE(box, zips);
            EXPECT_EQ(box->parentWidget(), zips) << "the box belongs to its dialog";
            EXPECT_TRUE(zips->frameGeometry().contains(box->frameGeometry().center()));
            expectReadable(box, "'0x9' is not a valid integer value", "zip-list-error.png");
            QTest::keyClick(box, Qt::Key_Return);
            QTimer::singleShot(0, zips, [&, zips] {
                EXPECT_EQ(QApplication::activeModalWidget(), zips) << "the dialog stays open";
                typedWhenRefused = child<QLineEdit>(zips, "ZipList")->text().toStdString();
                QLineEdit* again = child<QLineEdit>(zips, "ZipList");
                again->selectAll();
                QTest::keyClicks(again, "005");
                QTest::keyClick(again, Qt::Key_Return);
                closeIfStillOpen(zips);
            });
        });
        QTest::keyClick(list, Qt::Key_Return);
    });
    dialog.editLabel(1, 1);
    EXPECT_EQ(typedWhenRefused, "006-0x9");
    EXPECT_EQ(zipRangesForLabel(a.ctx->lists.threeDigitChart, 1).ranges, "005")
        << "the corrected list was stored";
}

// In the sheet and table selectors Enter and a double-click take the highlighted row and
// Escape takes none; Enter once pressed the only button there was, Cancel.
TEST(AttendedWindows, SelectorTakesTheHighlightedRowWithEnter) {
    Attended a;
    TableDialog dialog(*a.ctx);
    const std::vector<std::string> sheets = {"Notes", "Mailing", "Totals"};
    auto pick = [&](std::function<void(QListWidget*)> keys) {
        onModal([keys](QWidget* window) {
            QListWidget* grid = child<QListWidget>(window, "TablesGrid");
            grid->setFocus();
            keys(grid);
            closeIfStillOpen(window);
        });
        return dialog.choose(*formatNamed(KindExcel), sheets);
    };
    EXPECT_EQ(pick([](QListWidget* grid) {
                  QTest::keyClick(grid, Qt::Key_Down);
                  QTest::keyClick(grid, Qt::Key_Return);
              }),
              std::optional<size_t>(1));
    EXPECT_EQ(pick([](QListWidget* grid) {
                  QTest::keyClick(grid, Qt::Key_End);
                  QTest::keyClick(grid, Qt::Key_Enter);
              }),
              std::optional<size_t>(2));
    EXPECT_EQ(pick([](QListWidget* grid) {
                  grid->setCurrentRow(1);
                  Q_EMIT grid->itemDoubleClicked(grid->item(1));
              }),
              std::optional<size_t>(1));
    EXPECT_EQ(pick([](QListWidget* grid) {
                  QTest::keyClick(grid, Qt::Key_Down);
                  QTest::keyClick(grid, Qt::Key_Escape);
              }),
              std::nullopt);
}

// Enter presses OK in Mail Categories and Mailer Information, and Next on their wizard pages.
TEST(AttendedWindows, EnterAcceptsTheSettingsPages) {
    Attended a;
    MailTypeDialog mailTypes(*a.ctx);
    MailerInfoDialog mailer(*a.ctx);
    for (int wizard : {0, 1}) {
        SCOPED_TRACE(wizard ? "as a wizard page" : "from the menu");
        auto pressEnter = [](QWidget* window) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && window->isAncestorOf(focus) ? focus : window, Qt::Key_Return);
            closeIfStillOpen(window);
        };
        onModal(pressEnter);
        EXPECT_EQ(mailTypes.EditMailCategories(wizard), 1);
        onModal(pressEnter);
        EXPECT_EQ(mailer.EditMailerInfo(wizard), 1);
    }
}

// Help asked for from a dialog that waits for its answer opens beside that dialog, and its
// links work while the dialog stays open.
TEST(AttendedWindows, HelpFromADialogWorksWhileTheDialogIsOpen) {
    Attended a;
    Form form(a.ui, "AskingDlog", "A dialog waiting for its answer");
    form.add(ControlKind::Label, "Note", "Press F1 for help.");
    form.add(ControlKind::Button, "OKBtn", "OK").setModalResult(ModalResult::Ok);
    form.onHelp = [&] { a.help.showTopic(1); };
    std::string shown;
    onModal([&](QWidget* dialog) {
        dialog->move(0, 0); // room on its right
        QTest::keyClick(dialog, Qt::Key_F1);
        QWidget* help = a.help.window();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_FALSE(help->frameGeometry().intersects(dialog->frameGeometry()))
            << "beside the dialog, not over it";
        QTextBrowser* page = a.help.browser();
        QTextCursor link = page->document()->find("Getting started");
        ASSERT_FALSE(link.isNull());
        QPoint at = page->viewport()->mapTo(help, page->cursorRect(link).center());
        // A click as the window system delivers it: a window blocked by the dialog drops it.
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, at);
        shown = page->source().fileName().toStdString();
        child<QPushButton>(dialog, "OKBtn")->click();
        closeIfStillOpen(dialog);
    });
    EXPECT_EQ(form.showModal(), ModalResult::Ok);
    EXPECT_EQ(shown, "topic2.html");
}

// Topic Search finds the pages that hold every word asked for, and lists them as links.
TEST(AttendedWindows, TopicSearchFindsPagesByWord) {
    Attended a;
    auto pages = [&](const std::string& key) {
        std::vector<std::string> names;
        for (const auto& found : a.help.find(key))
            names.push_back(found.page);
        return names;
    };
    EXPECT_GE(pages("").size(), 20u) << "every page";
    EXPECT_EQ(pages("sheet selector"), std::vector<std::string>{"topic21.html"});
    std::vector<std::string> unique = pages("unique city");
    EXPECT_NE(std::find(unique.begin(), unique.end(), "topic35.html"), unique.end());
    EXPECT_TRUE(pages("zebra").empty());

    a.help.search("");
    QLineEdit* field = a.help.searchField();
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(a.help.window()->isVisible());
    field->setText("Sheet Selector");
    QTest::keyClick(field, Qt::Key_Return);
    const QString results = a.help.browser()->toHtml();
    EXPECT_TRUE(results.contains("topic21.html")) << results.toStdString();
    EXPECT_FALSE(results.contains("topic35.html"));
}

// A rate editor opens with its first rate box focused, however the last session was left
// (Cancel clicked kept the focus, so that Enter cancelled again); after the warning about a
// rate that is not a number, the box it names has the focus.
TEST(AttendedWindows, RateEditorFocusesTheRateToType) {
    Attended a;
    RateDialog1 letter(*a.ctx);
    RateDialog2 nonletter(*a.ctx);
    RateDialog3 piecePound(*a.ctx);
    RateDialogF firstClass(*a.ctx);
    RateDialogP periodical(*a.ctx);
    RateEditors editors(*a.ctx, letter, nonletter, piecePound, firstClass, periodical);
    // What the page gives the keys to once it is active (the offscreen screen activates none).
    auto focused = [](QWidget* page) {
        QWidget* focus = page->focusWidget();
        return focus ? focus->objectName().toStdString() : std::string("none");
    };
    std::vector<std::string> seen;
    for (const char* leave : {"CancelBtn", "OKBtn"}) {
        onModal([&, leave](QWidget* page) {
            seen.push_back(focused(page));
            // The page closes: an Escape left for it would reach its next session.
            QTest::mouseClick(child<QPushButton>(page, leave), Qt::LeftButton);
        });
        editors.editFirstClassRates();
    }
    onModal([&](QWidget* page) {
        seen.push_back(focused(page));
        QLineEdit* rate = child<QLineEdit>(page, "Edit7");
        rate->setFocus();
        rate->selectAll();
        QTest::keyClicks(rate, "abc");
        onModal([&](QWidget* warning) {
            seen.push_back(qobject_cast<QMessageBox*>(warning) ? "warning" : "no warning");
            QTest::keyClick(warning, Qt::Key_Return);
            closeIfStillOpen(warning);
        });
        QTest::mouseClick(child<QPushButton>(page, "OKBtn"), Qt::LeftButton);
        QTimer::singleShot(0, page, [&, page] {
            seen.push_back(focused(page));
            QTest::keyClick(page, Qt::Key_Escape);
        });
    });
    editors.editFirstClassRates();
    EXPECT_EQ(seen, (std::vector<std::string>{"Edit1", "Edit1", "Edit1", "warning", "Edit7"}));
}
