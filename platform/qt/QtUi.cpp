#include "platform/qt/QtUi.h"

#include "platform/print/PrinterDevice.h"
#include "platform/qt/HeldWindowRequests.h"
#include "platform/qt/PrintSetupDialog.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtImageCanvas.h"
#include "platform/qt/QtText.h"
#include "platform/ui/Timer.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QShortcut>
#include <QTimer>
#include <iostream>

namespace platform {

QtUi::QtUi(bool unattended)
    : unattended_(unattended), heldRequests_(std::make_unique<HeldWindowRequests>()) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installNativeEventFilter(heldRequests_.get());
}

QtUi::~QtUi() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(heldRequests_.get());
    for (auto& [form, window] : windows_)
        form->setView(nullptr);
}

QtFormWindow& QtUi::windowFor(Form& form) {
    auto& window = windows_[&form];
    if (!window)
        window = std::make_unique<QtFormWindow>(form);
    return *window;
}

void QtUi::formDestroyed(Form& form) {
    windows_.erase(&form);
}

static Control* defaultButtonOf(Form& form) {
    for (auto& c : form.controls())
        if (c->kind() == ControlKind::Button && c->isDefault() && c->visible() && c->enabled())
            return c.get();
    return nullptr;
}

// A page among others comes up as large as the largest of them needs, where the last one
// shown was.
void QtUi::prepareAsPage(QtFormWindow& window, const PageSet& pages) {
    QSize size;
    for (Form* page : pages.pages)
        size = size.expandedTo(windowFor(*page).neededSize());
    std::optional<QPoint> place;
    if (pages.place)
        place = QPoint(pages.place->x, pages.place->y);
    window.showAsPage(size, place);
}

ModalResult QtUi::runModal(Form& form) {
    QtFormWindow& window = windowFor(form);
    std::shared_ptr<PageSet> pages = form.pageSet();
    if (pages && !unattended_)
        prepareAsPage(window, *pages);
    form.markVisible(true);
    form.runShowEvents();
    ModalResult result;
    if (unattended_) {
        // Nobody is there to answer: take the default button, or cancel.
        if (Control* button = defaultButtonOf(form))
            button->userClick();
        if (form.modalResult() == ModalResult::None)
            form.setModalResult(ModalResult::Cancel);
        result = form.modalResult();
        std::cerr << "Quillan: dialog \"" << form.caption() << "\" answered with "
                  << toString(result) << "\n";
    } else {
        result = awaitAnswer([&] { return window.execModal(); });
        if (pages)
            pages->place = PageSet::Place{window.frameGeometry().x(), window.frameGeometry().y()};
    }
    form.markVisible(false);
    return result;
}

void QtUi::showForm(Form& form) {
    QtFormWindow& window = windowFor(form);
    form.markVisible(true);
    window.show();
    window.raise();
    window.focusFirstControl();
    form.runShowEvents();
}

void QtUi::hideForm(Form& form) {
    form.markVisible(false);
    if (auto it = windows_.find(&form); it != windows_.end())
        it->second->hide();
}

ModalResult QtUi::messageBox(MessageKind kind, MessageButtons buttons, const std::string& text,
                             const std::string& caption) {
    if (unattended_) {
        ModalResult answer = defaultButton(buttons);
        std::cerr << "Quillan [" << toString(kind) << "] " << text << " -> " << toString(answer)
                  << "\n";
        return answer;
    }
    // Over the window that asked: a dialog's warning shows in front of the dialog.
    QWidget* over = QApplication::activeModalWidget();
    if (!over)
        over = QApplication::activeWindow();
    QMessageBox box(over);
    box.setWindowTitle(toQt(caption.empty() ? std::string(toString(kind)) : caption));
    box.setText(toQt(text));
    switch (kind) {
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::Cancel:
        box.setStandardButtons(QMessageBox::Cancel);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::OkNo:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::No);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (awaitAnswer([&] { return box.exec(); })) {
    case QMessageBox::Ok:
        return ModalResult::Ok;
    case QMessageBox::Yes:
        return ModalResult::Yes;
    case QMessageBox::No:
        return ModalResult::No;
    default:
        return ModalResult::Cancel;
    }
}

void QtUi::beep(BeepKind) {
    QApplication::beep();
}

static QString filterString(const FileDialogOptions& options) {
    QStringList parts;
    for (const auto& f : options.filters) {
        QStringList patterns;
        for (const auto& p : f.patterns)
            patterns << toQt(p);
        parts << toQt(f.description) + " (" + patterns.join(' ') + ")";
    }
    return parts.join(";;");
}

std::unique_ptr<QFileDialog> QtUi::makeOpenDialog(const FileDialogOptions& options) {
    QString start = toQt(options.initialFolder);
    if (!options.fileName.empty())
        start += toQt(options.fileName);
    auto dialog =
        std::make_unique<QFileDialog>(nullptr, toQt(options.title), start, filterString(options));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    if (options.help) {
        // A dialog of the desktop's own knows no key of the program's.
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog.get());
        f1->setContext(Qt::WindowShortcut);
        QObject::connect(f1, &QShortcut::activated, [help = options.help] { help(); });
    }
    return dialog;
}

std::optional<std::string> QtUi::openFileDialog(const FileDialogOptions& options) {
    if (unattended_) {
        std::cerr << "Quillan: no file chosen for \"" << options.title << "\" (unattended)\n";
        return std::nullopt;
    }
    std::unique_ptr<QFileDialog> dialog = makeOpenDialog(options);
    if (awaitAnswer([&] { return dialog->exec(); }) != QDialog::Accepted ||
        dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return fromQt(dialog->selectedFiles().front());
}

std::optional<std::string> QtUi::saveFileDialog(const FileDialogOptions& options) {
    if (unattended_)
        return std::nullopt;
    QString start = toQt(options.initialFolder) + toQt(options.fileName);
    QString file = awaitAnswer([&] {
        return QFileDialog::getSaveFileName(nullptr, toQt(options.title), start,
                                            filterString(options));
    });
    if (file.isEmpty())
        return std::nullopt;
    return fromQt(file);
}

bool QtUi::printerSetupDialog(PrinterDevice& printer, const std::function<void()>& help) {
    if (unattended_)
        return false;
    return awaitAnswer([&] { return PrintSetupDialog(printer, help).choose(); });
}

void QtUi::timerChanged(Timer& timer) {
    auto& qtimer = timers_[&timer];
    if (!qtimer) {
        qtimer = std::make_unique<QTimer>();
        Timer* target = &timer;
        QObject::connect(qtimer.get(), &QTimer::timeout, [target] { target->fire(); });
    }
    qtimer->setInterval(timer.interval());
    if (timer.enabled())
        qtimer->start();
    else
        qtimer->stop();
}

void QtUi::timerDestroyed(Timer& timer) {
    timers_.erase(&timer);
}

void QtUi::processMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtUi::waitForMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtUi::setBusyCursor(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool QtUi::waitingForAnswer() const {
    return QApplication::activeModalWidget() != nullptr;
}

std::unique_ptr<Canvas> QtUi::createImageCanvas(Control& image) {
    int w = image.geometry() ? image.geometry()->width : 100;
    int h = image.geometry() ? image.geometry()->height : 100;
    return std::make_unique<QtImageCanvas>(image, w, h);
}

int QtUi::run() {
    if (quitting_)
        return exitStatus_;
    int status = QApplication::exec();
    return quitting_ ? exitStatus_ : status;
}

void QtUi::quit(int exitStatus) {
    quitting_ = true;
    exitStatus_ = exitStatus;
    QCoreApplication::exit(exitStatus);
}

bool QtUi::saveScreenshot(Form& form, const std::string& pngPath) {
    QtFormWindow& window = windowFor(form);
    bool wasVisible = window.isVisible();
    if (!wasVisible)
        window.show();
    if (form.absoluteLayout())
        window.adjustSize();
    else
        window.fitToContents();
    QCoreApplication::processEvents();
    bool ok = window.grab().save(toQt(pngPath), "PNG");
    if (!wasVisible)
        window.hide();
    return ok;
}

} // namespace platform

namespace platform {

int QtUi::saveMenuScreenshots(Form& form, const std::string& pngPathPrefix) {
    QtFormWindow& window = windowFor(form);
    auto* bar = window.findChild<QMenuBar*>();
    if (!bar)
        return 0;
    int saved = 0;
    for (QAction* action : bar->actions()) {
        QMenu* menu = action->menu();
        if (!menu)
            continue;
        menu->adjustSize();
        if (menu->grab().save(toQt(pngPathPrefix + std::to_string(++saved) + ".png"), "PNG"))
            continue;
        --saved;
    }
    return saved;
}

} // namespace platform
