#include "core/presort/LaterLevels.h"

#include "core/presort/AdcLevel.h"
#include "core/presort/MixedLevel.h"
#include "core/presort/ScfLevel.h"
#include "core/presort/ThreeDigitLevel.h"

namespace quillan {

const LaterLevels& laterLevels() {
    static const LaterLevels levels{Build3DigitLevel, Build3DigitSchemeLevel, BuildSCFLevel,
                                    BuildADCLevel,    BuildAADCLevel,         BuildAADCGroups,
                                    BuildMixedLevel};
    return levels;
}

} // namespace quillan
