#pragma once

#include "platform/graphics/Canvas.h"

#include <string>
#include <vector>

namespace platform {

// A canvas that draws nothing and logs every call in device units, so that tests can
// assert positions exactly. Text metrics are fixed and documented:
//   cell height = round(size * dpiY / 72 * 1.15)
//   width       = characters * round(size * dpiX / 72 * 0.5)   (bold: 0.55)
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(int dpiX = 96, int dpiY = 96) : dpiX_(dpiX), dpiY_(dpiY) {}

    void setFont(const FontSpec& font) override;
    void setPen(Color color, int width, PenStyle style) override;
    void setBrush(Color color, BrushStyle style) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) override;
    int textHeight(std::string_view text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    Point penPosition() const override { return pen_; }
    void rectangle(int left, int top, int right, int bottom) override;
    void fillRect(int left, int top, int right, int bottom) override;
    void roundRect(int left, int top, int right, int bottom, int cornerWidth,
                   int cornerHeight) override;
    void polygon(const std::vector<Point>& points) override;
    bool stretchBitmap(const std::string& bmpPath, int left, int top, int width,
                       int height) override;
    void stretchImage(const Bitmap& image, int left, int top, int width, int height) override;

    const std::vector<std::string>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    const FontSpec& font() const { return font_; }

protected:
    void record(std::string entry) { log_.push_back(std::move(entry)); }
    void setResolution(int dpiX, int dpiY) {
        dpiX_ = dpiX;
        dpiY_ = dpiY;
    }

private:
    int dpiX_;
    int dpiY_;
    FontSpec font_;
    Point pen_;
    std::vector<std::string> log_;
};

std::string describe(Color color);

} // namespace platform
