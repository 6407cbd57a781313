#pragma once

#include "core/presort/PresortContext.h"

namespace quillan {

using LevelBuilder = void (*)(PresortContext&);

// The levels after the 5-digit one, in the order the presort may call them.
struct LaterLevels {
    LevelBuilder build3DigitLevel = nullptr;
    LevelBuilder build3DigitSchemeLevel = nullptr;
    LevelBuilder buildSCFLevel = nullptr;
    LevelBuilder buildADCLevel = nullptr;
    LevelBuilder buildAADCLevel = nullptr;
    LevelBuilder buildAADCGroups = nullptr;
    LevelBuilder buildMixedLevel = nullptr;
};

const LaterLevels& laterLevels();

} // namespace quillan
