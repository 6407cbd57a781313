#include "platform/qt/QtPlatform.h"

#include "platform/qt/QtHelpViewer.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/X11Colormaps.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace platform {

static bool displayAvailable() {
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    if (qpa && *qpa)
        return std::string(qpa) != "offscreen" && std::string(qpa) != "minimal";
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

struct QtPlatform::State {
    State(int& argc, char** argv, const ProgramPaths& paths, bool unattended)
        : app(argc, argv), ui(unattended), printer(paths.printoutsFolder),
          help(paths.helpFolder, unattended), config(ConfigStore::defaultPath()) {}

    QApplication app;
    QtUi ui;
    QtPrinter printer;
    QtHelpViewer help;
    ProcessShell shell;
    ConfigStore config;
};

static bool prepareDisplay() {
    if (displayAvailable())
        return false;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}

// Without a display, the toolkit's notes on its stand-in screen (no runtime folder, no
// window manager to size or raise windows) are for nobody: the program that started
// Quillan reads standard error for Quillan's own messages only. A fatal error still shows.
static void keepOnlyFatalMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

QtPlatform::QtPlatform(int& argc, char** argv, const ProgramPaths& paths) {
    bool unattended = prepareDisplay();
    if (unattended)
        qInstallMessageHandler(keepOnlyFatalMessages);
    state_ = std::make_unique<State>(argc, argv, paths, unattended);
    QApplication::setApplicationName("Quillan");
    useScreenColormaps(state_->app);
}

QtPlatform::~QtPlatform() = default;

Platform QtPlatform::platform() {
    return Platform{state_->ui, state_->printer, state_->help, state_->shell, state_->config};
}

bool QtPlatform::unattended() const {
    return state_->ui.unattended();
}

bool QtPlatform::saveScreenshot(Form& form, const std::string& pngPath) {
    return state_->ui.saveScreenshot(form, pngPath);
}

int QtPlatform::saveMenuScreenshots(Form& form, const std::string& pngPathPrefix) {
    return state_->ui.saveMenuScreenshots(form, pngPathPrefix);
}

} // namespace platform
