#include "core/CommandErrors.h"

#include "core/Convert.h"

namespace quillan {

static std::string describeListError(const AppContext& ctx, const ListIndexError& error) {
    std::string text = error.what();
    if (!error.fileName().empty()) {
        std::string name = error.fileName();
        if (name.rfind(ctx.dataFolder, 0) == 0)
            name = name.substr(ctx.dataFolder.size());
        text += "\n" + name + " has no line " + std::to_string(error.index()) + ".";
    }
    return text;
}

bool runGuarded(AppContext& ctx, const std::function<void()>& command) {
    using namespace platform;
    std::string failure;
    try {
        command();
        return true;
    } catch (const ListIndexError& e) {
        failure = describeListError(ctx, e);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    ctx.platform.ui.setBusyCursor(false);
    ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok, failure);
    return false;
}

} // namespace quillan
