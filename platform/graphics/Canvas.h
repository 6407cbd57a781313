#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Color.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct FontSpec {
    std::string name = "Arial";
    int size = 10; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class PenStyle { Solid, Dot, Clear };
enum class BrushStyle { Solid, Clear };

// A drawing surface in device units: a picture on a window or a printer page.
// A text's position is the top-left corner of its text cell; the baseline lies at
// y + ascent. Rectangles are filled with the brush and outlined with the pen; their
// right and bottom coordinates are exclusive.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setFont(const FontSpec& font) = 0;
    virtual void setPen(Color color, int width = 1, PenStyle style = PenStyle::Solid) = 0;
    virtual void setBrush(Color color, BrushStyle style = BrushStyle::Solid) = 0;

    virtual void textOut(int x, int y, std::string_view text) = 0;
    virtual int textWidth(std::string_view text) = 0;
    virtual int textHeight(std::string_view text) = 0;

    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // Where the last moveTo or lineTo left the pen: the printouts' layout cursor.
    virtual Point penPosition() const = 0;
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    virtual void fillRect(int left, int top, int right, int bottom) = 0;
    virtual void roundRect(int left, int top, int right, int bottom, int cornerWidth,
                           int cornerHeight) = 0;
    virtual void polygon(const std::vector<Point>& points) = 0;

    // Stretches a .bmp file over the rectangle; false when the file cannot be read.
    virtual bool stretchBitmap(const std::string& bmpPath, int left, int top, int width,
                               int height) = 0;
    // Stretches a picture in memory over the rectangle, copying its pixels as they are (no
    // smoothing, no blending with what lies under it). An empty picture draws nothing.
    virtual void stretchImage(const Bitmap& image, int left, int top, int width, int height) = 0;
};

} // namespace platform
