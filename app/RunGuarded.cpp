#include "app/RunGuarded.h"

namespace quillan {

bool runGuarded(AppContext& ctx, const std::function<void()>& command) {
    return runGuarded(ctx.notices(), ctx.dataFolder, command);
}

} // namespace quillan
