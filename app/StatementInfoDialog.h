#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <string>

namespace quillan {

// What the postage statement needs beyond the mailing itself (statement.dat): the permit
// holder, the post office, how postage is paid, the CASS certification date and the signer.
class StatementInfoDialog {
public:
    explicit StatementInfoDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Runs the dialog to its end; OK rewrites statement.dat. The mode "no" (the Settings
    // menu) shows the note that the information can be changed later from that menu.
    // True when the user confirmed with OK.
    bool StatementInformationCaller(const std::string& mode);
    void StatementInfo1Click() { StatementInformationCaller("no"); }

private:
    void build();
    void addField(const std::string& label, const std::string& caption, const std::string& name,
                  int top, int width);
    void load();
    void store();

    AppContext& ctx_;
    platform::Form form_;
};

} // namespace quillan
