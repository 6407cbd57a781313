#pragma once

#include "core/PointScale.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace quillan {

// How one statement copy turns form points into its printer's device pixels: Round(points
// × pixels per point), halves to even, less the printer's printing offset (the unprintable
// margin, in device pixels).
struct StatementScale {
    PointScale scale;
    platform::Point offset;

    static StatementScale forPrinter(int dpiX, int dpiY, platform::Point offset) {
        return {PointScale::forResolution(dpiX, dpiY), offset};
    }

    int32_t deviceX(long double points) const { return scale.dotsX(points) - offset.x; }
    int32_t deviceY(long double points) const { return scale.dotsY(points) - offset.y; }
};

struct DeviceRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const DeviceRect&, const DeviceRect&) = default;
};

// Where the page image of a form is stretched: 42 device pixels in from one point, out to
// 577 by 751 points (and the 42 again, as the shipped form images are drawn to fit); at 600
// dpi with no offset (50, 50, 4850, 6300). A printing offset moves the picture on the page as
// it moves the values written on it, whatever the printer's margins.
DeviceRect formImageRect(const StatementScale& scale);

// Stretches a page image over the device rectangle at (x, y), width × height pixels,
// copying its pixels as they are.
void DrawFormImage(platform::Canvas& canvas, int x, int y, int width, int height,
                   const platform::Bitmap& image);

} // namespace quillan
