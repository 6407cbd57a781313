#include "core/presort/GroupSplitting.h"

#include "core/presort/GroupModel.h"

namespace quillan {

void SplitZipGroup(PresortContext& ctx, int32_t g, int32_t m) {
    GroupModel model(ctx);
    model.splitZipGroup(g, model.nextGroup(g), m);
    model.store(false);
}

void SplitSortGroup(PresortContext& ctx, int32_t s, int32_t p, int32_t c) {
    GroupModel model(ctx);
    model.splitSortGroup(s, p, c);
    model.store(false);
}

void InsertContainerAfter(PresortContext& ctx, int32_t j) {
    GroupModel model(ctx);
    model.insertContainerAfter(j);
    model.store(false);
}

} // namespace quillan
