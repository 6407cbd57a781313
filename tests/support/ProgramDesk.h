#pragma once

#include "app/Program.h"
#include "platform/fs/ProgramPaths.h"
#include "platform/qt/QtHelpViewer.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtUi.h"
#include "tests/support/TestEnvironment.h"

#include <QRect>
#include <QWidget>
#include <string>

namespace quillan::test {

// The whole program with a person at its real windows, over the test geography. The Qt
// application (deskApplication) must be made first, on the screen the test wants.
struct ProgramDesk {
    ProgramDesk();
    void click(const std::string& entry);
    QWidget* mainWidget();

    TestEnvironment env;
    platform::QtUi ui;
    platform::QtHelpViewer help;
    platform::ProgramPaths paths;
    platform::QtPrinter printer;
    AppContext ctx;
    Program program;
};

// "(x, y) width x height", for a failure's message.
std::string describe(const QRect& r);

} // namespace quillan::test
