#include "tests/support/ProgramDesk.h"

#include "app/DataFiles.h"

#include <QApplication>

namespace quillan::test {

ProgramDesk::ProgramDesk()
    : env(geographyFolder()), ui(false),
      help(std::string(QUILLAN_TEST_DATA) + "/../../data/help/", false),
      paths(platform::resolveProgramPaths(env.folder())), printer(paths.printoutsFolder),
      ctx(platform::Platform{ui, printer, help, env.shell, env.config}, paths), program(ctx) {
    ctx.dataFolder = paths.dataFolder;
    LoadDataFiles(ctx);
}

void ProgramDesk::click(const std::string& entry) {
    program.mainWindow().form().findMenuItem(entry)->onClick();
}

QWidget* ProgramDesk::mainWidget() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName().toStdString() == program.mainWindow().form().name())
            return window;
    return nullptr;
}

std::string describe(const QRect& r) {
    return "(" + std::to_string(r.x()) + ", " + std::to_string(r.y()) + ") " +
           std::to_string(r.width()) + " x " + std::to_string(r.height());
}

} // namespace quillan::test
