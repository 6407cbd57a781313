#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <optional>
#include <string>

namespace quillan {

// The Periodicals settings (per.dat): frequency, advertising percentage, rate category,
// in-county rates with the county code, and the pieces-per-tray minimum. The third page of
// the Sort Wizard for Periodicals mail types.
class PeriodicalDialog {
public:
    explicit PeriodicalDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Shows the dialog until its entries pass or it is cancelled; as a wizard page when
    // wizard is 1. Returns 1 (OK, Next), -1 (Back) or 0 (Cancel).
    int EditPeriodicalSettings(int wizard);

private:
    void build();
    void loadControls();
    std::optional<std::string> checkEntries() const;
    void saveEntries();

    AppContext& ctx_;
    platform::Form form_;
};

} // namespace quillan
