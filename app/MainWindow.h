#pragma once

#include "core/AppContext.h"
#include "platform/ui/Form.h"
#include "platform/ui/Timer.h"

#include <functional>
#include <string>

namespace quillan {

// The main window: its menus, the hidden progress picture and the 500 ms pause timer.
// Menu entries start disabled; the program binds a command to each entry it can run.
class MainWindow {
public:
    explicit MainWindow(AppContext& ctx);

    platform::Form& form() { return form_; }
    platform::Timer& pauseTimer() { return Timer1; }

    // Binds a command to the menu entry of that name and enables it.
    void bind(const std::string& entryName, std::function<void()> command);

    // The twelve postal lists' menu captions, in list-number order.
    static const std::vector<std::string>& postalListCaptions();

private:
    void buildMenus();
    void buildProgressControls();

    AppContext& ctx_;
    platform::Form form_;
    platform::Timer Timer1;
};

} // namespace quillan
