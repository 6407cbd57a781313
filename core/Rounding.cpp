#include "core/Rounding.h"

#include <cmath>

namespace quillan {

int32_t roundHalfEven(long double value) {
    long double whole = std::floor(value);
    long double fraction = value - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0.0L))
        whole += 1.0L;
    return static_cast<int32_t>(whole);
}

} // namespace quillan
