#include "core/CommandErrors.h"

#include "core/Convert.h"

namespace quillan {

static std::string describeListError(const AppContext& ctx, const ListIndexError& error) {
    if (error.fileName().empty())
        return error.what();
    std::string name = error.fileName();
    if (name.rfind(ctx.dataFolder, 0) == 0)
        name = name.substr(ctx.dataFolder.size());
    return "Quillan's own file " + name + " is damaged: it has no line " +
           std::to_string(error.index()) + ". Put back the file as it came with Quillan.";
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
