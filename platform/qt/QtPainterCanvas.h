#pragma once

#include "platform/graphics/Canvas.h"

#include <QFont>
#include <QPainter>
#include <functional>

namespace platform {

// The canvas operations over a QPainter on any paint device (a picture or a printer page).
class QtPainterCanvas : public Canvas {
public:
    // afterDraw runs after every drawing call (a picture repaints its window).
    explicit QtPainterCanvas(std::function<void()> afterDraw = {});

    void attach(QPainter* painter, int logicalDpiY);
    QPainter* painter() const { return painter_; }

    void setFont(const FontSpec& font) override;
    void setPen(Color color, int width, PenStyle style) override;
    void setBrush(Color color, BrushStyle style) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) override;
    int textHeight(std::string_view text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    Point penPosition() const override { return {position_.x(), position_.y()}; }
    void rectangle(int left, int top, int right, int bottom) override;
    void fillRect(int left, int top, int right, int bottom) override;
    void roundRect(int left, int top, int right, int bottom, int cornerWidth,
                   int cornerHeight) override;
    void polygon(const std::vector<Point>& points) override;
    bool stretchBitmap(const std::string& bmpPath, int left, int top, int width,
                       int height) override;
    void stretchImage(const Bitmap& image, int left, int top, int width, int height) override;

private:
    void drawn();
    void applyState();

    QPainter* painter_ = nullptr;
    std::function<void()> afterDraw_;
    QFont font_;
    QPen pen_;
    QBrush brush_;
    QPoint position_;
};

} // namespace platform
