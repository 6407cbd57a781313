#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <vector>

namespace quillan {

// The trays or sacks of one level, kept in the order of their keys. A new container goes
// before the first container of the level whose key is greater than its own (equal keys
// keep the earlier container first), or after all of them. While the level runs, its sort
// groups hold a provisional index for each container (after every container of the earlier
// levels); finish() appends the containers in their order after those of the earlier levels
// and renumbers the groups' links once, instead of at every insertion.
class LevelContainers {
public:
    explicit LevelContainers(PresortContext& ctx);

    // The containers of the earlier levels: indexes 0 to levelStart() - 1.
    int32_t levelStart() const { return start_; }

    // Adds a container whose position key is `key`; `ownKey` is the key later containers
    // of the level compare against (the one read from its label). Returns the provisional
    // index for its groups.
    int32_t add(int64_t key, int64_t ownKey, Container container);

    // Links the sort groups to one of the level's containers and counts their pieces as
    // placed.
    void fill(int32_t container, const std::vector<int32_t>& groups, int32_t pieces);

    // Appends the level's containers and renumbers the sort groups' links.
    void finish();

private:
    struct Pending {
        int64_t ownKey;
        Container container;
    };

    PresortContext& ctx_;
    int32_t start_;
    std::vector<Pending> created_;
    std::vector<int32_t> order_; // indexes into created_, in container order
};

} // namespace quillan
