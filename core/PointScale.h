#pragma once

#include "core/Rounding.h"

#include <cstdint>

namespace quillan {

// Device units per point (1/72 inch) across and down, held in single precision as the
// printouts have always held them: at 300 dpi the factor is 4.1666665, so a 3-point bar is
// Round(12.4999995) = 12 units, not 13. Products are taken in extended precision and
// rounded halves to even.
struct PointScale {
    float x = 1.0f;
    float y = 1.0f;

    static PointScale forResolution(int dpiX, int dpiY) {
        return {static_cast<float>(dpiX / 72.0L), static_cast<float>(dpiY / 72.0L)};
    }

    int32_t dotsX(long double points) const {
        return roundHalfEven(points * static_cast<long double>(x));
    }
    int32_t dotsY(long double points) const {
        return roundHalfEven(points * static_cast<long double>(y));
    }
};

} // namespace quillan
