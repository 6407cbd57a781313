#include "app/RunMode.h"

#include "core/Convert.h"

namespace quillan {

RunMode runModeOf(const std::vector<std::string>& parameters) {
    if (parameters.size() < 2)
        return RunMode::Attended;
    const std::string mode = upperAscii(parameters[1]);
    if (mode == "DUZIZ")
        return RunMode::Partner;
    if (mode == "NOSTOP")
        return RunMode::Unattended;
    return RunMode::Attended;
}

} // namespace quillan
