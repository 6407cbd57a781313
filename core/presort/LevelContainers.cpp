#include "core/presort/LevelContainers.h"

#include "core/presort/PresortRules.h"

#include <algorithm>

namespace quillan {

LevelContainers::LevelContainers(PresortContext& ctx)
    : ctx_(ctx), start_(ctx.counters.containerCount - 1) {}

int32_t LevelContainers::add(int64_t key, int64_t ownKey, int32_t pieces, std::string label,
                             ContainerType type) {
    auto place = std::find_if(order_.begin(), order_.end(), [&](int32_t index) {
        return created_[static_cast<size_t>(index)].ownKey > key;
    });
    int32_t index = static_cast<int32_t>(created_.size());
    order_.insert(place, index);
    created_.push_back({ownKey, pieces, std::move(label), type});
    ctx_.counters.containerCount = start_ + 1 + static_cast<int32_t>(created_.size());
    return start_ + 1 + index;
}

void LevelContainers::fill(int32_t container, const std::vector<int32_t>& groups, int32_t pieces) {
    for (int32_t h : groups)
        ctx_.tables.sortGroupContainer[at(h)] = container;
    ctx_.counters.placedPieces += pieces;
}

void LevelContainers::finish() {
    WorkTables& t = ctx_.tables;
    std::vector<int32_t> rowOf(created_.size(), 0);
    t.containerPieces.resize(static_cast<size_t>(start_) + 1);
    t.containerLabels.resize(static_cast<size_t>(start_) + 1);
    t.containerTypes.resize(static_cast<size_t>(start_) + 1);
    for (size_t position = 0; position < order_.size(); ++position) {
        Pending& c = created_[static_cast<size_t>(order_[position])];
        rowOf[static_cast<size_t>(order_[position])] = start_ + 1 + static_cast<int32_t>(position);
        t.addContainer(c.pieces, std::move(c.label), c.type);
    }
    for (size_t g = 1; g < t.sortGroupContainer.size(); ++g) {
        int32_t& container = t.sortGroupContainer[g];
        if (container > start_)
            container = rowOf[static_cast<size_t>(container - start_ - 1)];
    }
    ctx_.counters.containerCount = start_ + 1 + static_cast<int32_t>(created_.size());
    created_.clear();
    order_.clear();
}

} // namespace quillan
