#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

namespace quillan {

// The preferences (lines 1 to 5 of prefs.dat): the rejected-ZIP listing, where the sort
// information goes, the separate file's name and format, and the ZIP+4 rule for
// automation mailings. The fourth page of the Sort Wizard.
class PrefDialog {
public:
    explicit PrefDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // As a wizard page when wizard is 1, with "Fi&nish" as Next. Returns 1 (OK, Finish),
    // -1 (Back) or 0 (Cancel).
    int EditPreferences(int wizard);

    // The separate file's name and format matter only while the sort information goes to
    // a separate file.
    void UpdateOutputOptions();

private:
    void build();
    void saveEntries();

    AppContext& ctx_;
    platform::Form form_;
};

} // namespace quillan
