#include "core/presort/LevelContainers.h"

#include <algorithm>

namespace quillan {

LevelContainers::LevelContainers(PresortContext& ctx)
    : ctx_(ctx), start_(static_cast<int32_t>(ctx.tables.containers.size())) {}

int32_t LevelContainers::add(int64_t key, int64_t ownKey, Container container) {
    auto place = std::find_if(order_.begin(), order_.end(), [&](int32_t index) {
        return created_[static_cast<size_t>(index)].ownKey > key;
    });
    int32_t index = static_cast<int32_t>(created_.size());
    order_.insert(place, index);
    created_.push_back({ownKey, std::move(container)});
    return start_ + index;
}

void LevelContainers::fill(int32_t container, const std::vector<int32_t>& groups, int32_t pieces) {
    for (int32_t h : groups)
        ctx_.tables.sortGroups[static_cast<size_t>(h)].container = container;
    ctx_.counters.placedPieces += pieces;
}

void LevelContainers::finish() {
    WorkTables& t = ctx_.tables;
    std::vector<int32_t> indexOf(created_.size(), 0);
    t.containers.resize(static_cast<size_t>(start_));
    for (int32_t index : order_) {
        indexOf[static_cast<size_t>(index)] = static_cast<int32_t>(t.containers.size());
        t.containers.push_back(std::move(created_[static_cast<size_t>(index)].container));
    }
    for (SortGroup& group : t.sortGroups)
        if (group.container >= start_)
            group.container = indexOf[static_cast<size_t>(group.container - start_)];
    created_.clear();
    order_.clear();
}

} // namespace quillan
