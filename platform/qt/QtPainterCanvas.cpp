#include "platform/qt/QtPainterCanvas.h"

#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPolygon>

#include <algorithm>

namespace platform {

static QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b);
}

QtPainterCanvas::QtPainterCanvas(std::function<void()> afterDraw)
    : afterDraw_(std::move(afterDraw)), pen_(Qt::black), brush_(Qt::white) {
    font_.setFamily("Arial");
    font_.setPointSize(10);
}

void QtPainterCanvas::attach(QPainter* painter, int) {
    painter_ = painter;
    applyState();
}

void QtPainterCanvas::applyState() {
    if (!painter_)
        return;
    painter_->setFont(font_);
    painter_->setPen(pen_);
    painter_->setBrush(brush_);
}

void QtPainterCanvas::drawn() {
    if (afterDraw_)
        afterDraw_();
}

void QtPainterCanvas::setFont(const FontSpec& font) {
    // "Arial" resolves through fontconfig to its metric twin, Liberation Sans.
    font_ = QFont(toQt(font.name));
    font_.setPointSizeF(font.size > 0 ? font.size : 1);
    font_.setBold(font.bold);
    font_.setItalic(font.italic);
    font_.setUnderline(font.underline);
    if (painter_)
        painter_->setFont(font_);
}

void QtPainterCanvas::setPen(Color color, int width, PenStyle style) {
    pen_ = style == PenStyle::Clear ? QPen(Qt::NoPen) : QPen(toQColor(color));
    pen_.setWidth(width < 1 ? 1 : width);
    if (style == PenStyle::Dot)
        pen_.setStyle(Qt::DotLine);
    if (painter_)
        painter_->setPen(pen_);
}

void QtPainterCanvas::setBrush(Color color, BrushStyle style) {
    brush_ = style == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(toQColor(color));
    if (painter_)
        painter_->setBrush(brush_);
}

void QtPainterCanvas::textOut(int x, int y, std::string_view text) {
    if (!painter_)
        return;
    QFontMetrics metrics(painter_->font(), painter_->device());
    painter_->drawText(QPoint(x, y + metrics.ascent()), toQt(text));
    drawn();
}

int QtPainterCanvas::textWidth(std::string_view text) {
    if (!painter_)
        return 0;
    return QFontMetrics(painter_->font(), painter_->device()).horizontalAdvance(toQt(text));
}

int QtPainterCanvas::textHeight(std::string_view) {
    if (!painter_)
        return 0;
    return QFontMetrics(painter_->font(), painter_->device()).height();
}

void QtPainterCanvas::moveTo(int x, int y) {
    position_ = QPoint(x, y);
}

void QtPainterCanvas::lineTo(int x, int y) {
    if (painter_)
        painter_->drawLine(position_, QPoint(x, y));
    position_ = QPoint(x, y);
    drawn();
}

void QtPainterCanvas::rectangle(int left, int top, int right, int bottom) {
    if (!painter_)
        return;
    // Right and bottom are exclusive, as on the desktop platform.
    painter_->drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    drawn();
}

void QtPainterCanvas::fillRect(int left, int top, int right, int bottom) {
    if (!painter_)
        return;
    painter_->fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), brush_);
    drawn();
}

void QtPainterCanvas::roundRect(int left, int top, int right, int bottom, int cornerWidth,
                                int cornerHeight) {
    if (!painter_)
        return;
    painter_->drawRoundedRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                              cornerWidth / 2.0, cornerHeight / 2.0, Qt::AbsoluteSize);
    drawn();
}

void QtPainterCanvas::polygon(const std::vector<Point>& points) {
    if (!painter_)
        return;
    QPolygon poly;
    for (const Point& p : points)
        poly << QPoint(p.x, p.y);
    painter_->drawPolygon(poly);
    drawn();
}

bool QtPainterCanvas::stretchBitmap(const std::string& bmpPath, int left, int top, int width,
                                    int height) {
    QImage image(toQt(bmpPath));
    if (image.isNull() || !painter_)
        return false;
    painter_->drawImage(QRect(left, top, width, height), image);
    drawn();
    return true;
}

static QImage toQImage(const Bitmap& image) {
    if (image.format() == Bitmap::Format::Mono) {
        QImage q(image.width(), image.height(), QImage::Format_Mono);
        QList<QRgb> table;
        for (size_t i = 0; i < 2; ++i) {
            Color c = i < image.palette().size() ? image.palette()[i] : colors::Black;
            table.append(qRgb(c.r, c.g, c.b));
        }
        q.setColorTable(table);
        for (int y = 0; y < image.height(); ++y)
            std::copy_n(image.row(y), image.rowBytes(), q.scanLine(y));
        return q;
    }
    if (image.format() == Bitmap::Format::Rgb) {
        QImage q(image.width(), image.height(), QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y)
            std::copy_n(image.row(y), image.width() * 3, q.scanLine(y));
        return q;
    }
    QImage q(image.width(), image.height(), QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const Color& c : image.palette())
        table.append(qRgb(c.r, c.g, c.b));
    // Indices past the palette read as black, as Bitmap::pixel says.
    while (table.size() < 256)
        table.append(qRgb(0, 0, 0));
    q.setColorTable(table);
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(image.row(y), image.width(), q.scanLine(y));
    // A two-colour picture goes into a PDF as one bit per pixel.
    if (image.palette().size() <= 2)
        return q.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return q;
}

void QtPainterCanvas::stretchImage(const Bitmap& image, int left, int top, int width, int height) {
    if (image.empty() || !painter_)
        return;
    painter_->save();
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_->drawImage(QRect(left, top, width, height), toQImage(image));
    painter_->restore();
    drawn();
}

} // namespace platform
