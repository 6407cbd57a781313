#pragma once

// The real desktop: Qt windows, PDF and system printers, the help browser. This header
// carries no Qt type, so the program's main needs no Qt header.

#include "platform/Platform.h"

#include <memory>
#include <string>

namespace platform {

class QtPlatform {
public:
    // Starts Qt. Without a display the offscreen platform is used and the run is
    // unattended: message boxes and dialogs answer with their default buttons.
    QtPlatform(int& argc, char** argv, const ProgramPaths& paths);
    ~QtPlatform();

    Platform platform();
    bool unattended() const;

    // Saves what the form shows as a PNG file (works offscreen as well).
    bool saveScreenshot(Form& form, const std::string& pngPath);
    // Saves each drop-down menu of the form as "<prefix><n>.png"; returns how many.
    int saveMenuScreenshots(Form& form, const std::string& pngPathPrefix);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace platform
