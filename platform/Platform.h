#pragma once

#include "config/ConfigStore.h"
#include "fs/ProgramPaths.h"
#include "help/HelpViewer.h"
#include "print/PrinterDevice.h"
#include "shell/Shell.h"
#include "ui/Ui.h"

namespace platform {

// The platform services one run of the program uses.
struct Platform {
    Ui& ui;
    PrinterDevice& printer;
    HelpViewer& help;
    Shell& shell;
    ConfigStore& config;
};

} // namespace platform
