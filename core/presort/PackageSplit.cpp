#include "core/presort/PackageSplit.h"

#include "core/presort/GroupModel.h"
#include "core/presort/PresortRules.h"

#include <algorithm>

namespace quillan {

int32_t packageKeep(int32_t fullTrayPieces) {
    // A keep of 0 would hand the whole package on to a new one without end.
    return std::max<int32_t>(1, static_cast<int32_t>(fullTrayPieces * 5.0 / 21.0));
}

void SplitLargePackages(PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    if (!code.isPackagedLetters() && !code.isFlats())
        return;
    int32_t keep = packageKeep(ctx.settings.mailType.fullTray());
    int32_t limit = keep + 10;
    GroupModel model(ctx);
    for (int32_t group : model.groupOrder()) {
        for (int32_t r = group; model.groups[static_cast<size_t>(r)].pieces > limit;) {
            const GroupModel::GroupNode& tall = model.groups[static_cast<size_t>(r)];
            r = model.splitSortGroup(r, tall.pieces - keep, tall.container);
        }
    }
    model.store(false);
}

} // namespace quillan
