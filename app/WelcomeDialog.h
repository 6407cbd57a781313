#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"
#include "platform/ui/Timer.h"

#include <functional>

namespace quillan {

// The splash window, which doubles as the About box (Tag 1). As a splash it closes after
// five seconds, on a click or on a key.
class WelcomeDialog {
public:
    explicit WelcomeDialog(AppContext& ctx);

    platform::Form& form() { return form_; }
    platform::Timer& timer() { return timer_; }

    // Shows the window without waiting, as the start-up splash (0) or the About box (1).
    void showAs(int tag);

    // What follows the splash: the Sort Wizard, and the end of the program.
    std::function<void()> runSortWizard;
    std::function<void(int)> endProgram;

private:
    void drawPicture();
    void FormActivate();
    void TimerTimer();
    void FormClick();
    void okBtnClick();
    void closeWindow();

    AppContext& ctx_;
    platform::Form form_;
    platform::Timer timer_;
};

} // namespace quillan
