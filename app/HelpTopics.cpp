#include "app/HelpTopics.h"

namespace quillan {

void showHelpTopic(AppContext& ctx, int context) {
    ctx.platform.help.setHelpFile(ctx.helpFilePath());
    ctx.platform.help.showTopic(context);
}

bool setUpPrinter(AppContext& ctx) {
    return ctx.platform.ui.printerSetupDialog(ctx.platform.printer,
                                              [&ctx] { showHelpTopic(ctx, HelpTopic::PageSetup); });
}

void bindHelpKey(AppContext& ctx, platform::Form& form, int context) {
    form.setHelpContext(context);
    form.onHelp = [&ctx, &form] { showHelpTopic(ctx, form.helpContext()); };
}

} // namespace quillan
