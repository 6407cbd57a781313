#pragma once

#include "platform/config/ConfigStore.h"
#include "platform/fs/ProgramPaths.h"
#include "platform/help/HelpViewer.h"
#include "platform/print/PrinterDevice.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Ui.h"

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
