#include "core/presort/LaterLevels.h"

namespace quillan {

const LaterLevels& laterLevels() {
    static const LaterLevels levels{};
    return levels;
}

} // namespace quillan
