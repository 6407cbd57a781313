#include "platform/testing/RecordingCanvas.h"

#include <fstream>

namespace platform {

std::string describe(Color color) {
    return "(" + std::to_string(color.r) + "," + std::to_string(color.g) + "," +
           std::to_string(color.b) + ")";
}

static std::string rect(int l, int t, int r, int b) {
    return std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " +
           std::to_string(b);
}

void RecordingCanvas::setFont(const FontSpec& font) {
    font_ = font;
    std::string style;
    if (font.bold)
        style += "B";
    if (font.italic)
        style += "I";
    if (font.underline)
        style += "U";
    record("font " + font.name + " " + std::to_string(font.size) + (style.empty() ? "" : " ") +
           style);
}

void RecordingCanvas::setPen(Color color, int width, PenStyle style) {
    const char* styleText = style == PenStyle::Clear ? " clear"
                            : style == PenStyle::Dot ? " dot"
                                                     : "";
    record("pen " + describe(color) + " " + std::to_string(width) + styleText);
}

void RecordingCanvas::setBrush(Color color, BrushStyle style) {
    record("brush " + describe(color) + (style == BrushStyle::Clear ? " clear" : ""));
}

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
    record("text " + std::to_string(x) + " " + std::to_string(y) + " " + std::string(text));
}

// Integer arithmetic, rounding halves up, so that the metric is exact and documented.
static int scaled(int size, int dpi, int percent) {
    return (size * dpi * percent + 3600) / 7200;
}

int RecordingCanvas::textWidth(std::string_view text) {
    return static_cast<int>(text.size()) * scaled(font_.size, dpiX_, font_.bold ? 55 : 50);
}

int RecordingCanvas::textHeight(std::string_view) {
    return scaled(font_.size, dpiY_, 115);
}

void RecordingCanvas::moveTo(int x, int y) {
    pen_ = {x, y};
    record("moveto " + std::to_string(x) + " " + std::to_string(y));
}

void RecordingCanvas::lineTo(int x, int y) {
    pen_ = {x, y};
    record("lineto " + std::to_string(x) + " " + std::to_string(y));
}

void RecordingCanvas::rectangle(int left, int top, int right, int bottom) {
    record("rect " + rect(left, top, right, bottom));
}

void RecordingCanvas::fillRect(int left, int top, int right, int bottom) {
    record("fillrect " + rect(left, top, right, bottom));
}

void RecordingCanvas::roundRect(int left, int top, int right, int bottom, int cornerWidth,
                                int cornerHeight) {
    record("roundrect " + rect(left, top, right, bottom) + " " + std::to_string(cornerWidth) + " " +
           std::to_string(cornerHeight));
}

void RecordingCanvas::polygon(const std::vector<Point>& points) {
    std::string entry = "polygon";
    for (const Point& p : points)
        entry += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    record(entry);
}

bool RecordingCanvas::stretchBitmap(const std::string& bmpPath, int left, int top, int width,
                                    int height) {
    bool readable = std::ifstream(bmpPath, std::ios::binary).good();
    record("bitmap " + bmpPath + " " + rect(left, top, width, height) +
           (readable ? "" : " missing"));
    return readable;
}

// "image 2425x3150 50 50 4850 6300": the picture's size, then the device rectangle.
void RecordingCanvas::stretchImage(const Bitmap& image, int left, int top, int width, int height) {
    if (image.empty())
        return;
    record("image " + std::to_string(image.width()) + "x" + std::to_string(image.height()) + " " +
           rect(left, top, width, height));
}

} // namespace platform
