#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillan {

// The trays or sacks of one level, kept in the order of their keys. A new container goes
// before the first container of the level whose key is greater than its own (equal keys
// keep the earlier container first), or after all of them. While the level runs, its sort
// groups hold a provisional number for each container (above every container of the
// earlier levels); finish() writes the containers in their order after those of the
// earlier levels and renumbers the groups' links once, instead of at every insertion.
class LevelContainers {
public:
    explicit LevelContainers(PresortContext& ctx);

    // The containers of the earlier levels: rows 1 to levelStart().
    int32_t levelStart() const { return start_; }

    // Adds a container whose position key is `key`; `ownKey` is the key later containers
    // of the level compare against (the one read from its label). Returns the provisional
    // number for its groups. Counts it in containerCount.
    int32_t add(int64_t key, int64_t ownKey, int32_t pieces, std::string label, ContainerType type);

    // Links the sort groups to one of the level's containers and counts their pieces as
    // placed.
    void fill(int32_t container, const std::vector<int32_t>& groups, int32_t pieces);

    // Writes the level's containers and renumbers the sort groups' links.
    void finish();

private:
    struct Pending {
        int64_t ownKey;
        int32_t pieces;
        std::string label;
        ContainerType type;
    };

    PresortContext& ctx_;
    int32_t start_;
    std::vector<Pending> created_;
    std::vector<int32_t> order_; // indexes into created_, in container order
};

} // namespace quillan
