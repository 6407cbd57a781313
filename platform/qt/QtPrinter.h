#pragma once

#include "print/PrinterDevice.h"
#include "qt/QtPainterCanvas.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <memory>

namespace platform {

// Printing through Qt. Printer 0 is the PDF writer (600 dpi, US Letter), which puts each
// document into the printouts folder as "<title> <date> <time>.pdf"; the others are the
// system's printers.
class QtPrinter : public PrinterDevice {
public:
    explicit QtPrinter(std::string printoutsFolder);
    ~QtPrinter() override;

    std::vector<std::string> printerNames() override;
    int printerIndex() const override { return index_; }
    void setPrinterIndex(int index) override;

    // The font families Qt can render, on screen and into the printer alike.
    std::vector<std::string> fontNames() override;

    void setTitle(const std::string& title) override { title_ = title; }
    bool beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abortDoc() override;
    bool printing() const override { return device_ != nullptr; }

    int pageWidth() const override;
    int pageHeight() const override;
    int dpiX() const override;
    int dpiY() const override;
    Point printableOffset() const override;
    std::string lastOutput() const override { return lastOutput_; }

    void setFont(const FontSpec& f) override { canvas_.setFont(f); }
    void setPen(Color c, int w, PenStyle s) override { canvas_.setPen(c, w, s); }
    void setBrush(Color c, BrushStyle s) override { canvas_.setBrush(c, s); }
    void textOut(int x, int y, std::string_view t) override { canvas_.textOut(x, y, t); }
    int textWidth(std::string_view t) override;
    int textHeight(std::string_view t) override;
    void moveTo(int x, int y) override { canvas_.moveTo(x, y); }
    void lineTo(int x, int y) override { canvas_.lineTo(x, y); }
    Point penPosition() const override { return canvas_.penPosition(); }
    void rectangle(int l, int t, int r, int b) override { canvas_.rectangle(l, t, r, b); }
    void fillRect(int l, int t, int r, int b) override { canvas_.fillRect(l, t, r, b); }
    void roundRect(int l, int t, int r, int b, int w, int h) override {
        canvas_.roundRect(l, t, r, b, w, h);
    }
    void polygon(const std::vector<Point>& p) override { canvas_.polygon(p); }
    bool stretchBitmap(const std::string& f, int l, int t, int w, int h) override {
        return canvas_.stretchBitmap(f, l, t, w, h);
    }

private:
    std::string nextPdfPath() const;
    void finish();

    std::string printoutsFolder_;
    int index_ = 0;
    std::string title_ = "Quillan";
    std::string lastOutput_;
    std::string pendingOutput_;
    std::unique_ptr<QPagedPaintDevice> device_;
    QPainter painter_;
    QtPainterCanvas canvas_;
    // Measuring outside a document uses a PDF writer of the same resolution.
    std::unique_ptr<QPagedPaintDevice> measureDevice_;
    QPainter measurePainter_;
};

} // namespace platform
