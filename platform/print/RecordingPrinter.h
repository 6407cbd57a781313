#pragma once

#include "print/PrinterDevice.h"
#include "print/RecordingCanvas.h"

namespace platform {

// A printer for tests: configurable resolution, sheet and offset; every call is logged in
// device units (see RecordingCanvas for the text metric).
class RecordingPrinter : public PrinterDevice {
public:
    struct Setup {
        int dpiX = 600;
        int dpiY = 600;
        int pageWidth = 5100; // US Letter at 600 dpi
        int pageHeight = 6600;
        Point offset{0, 0};
    };

    RecordingPrinter();
    explicit RecordingPrinter(Setup setup);

    std::vector<std::string> printerNames() override { return names_; }
    int printerIndex() const override { return index_; }
    void setPrinterIndex(int index) override { index_ = index; }

    // A fixed list, the same on every machine, so that tests do not depend on the fonts
    // installed: "Arial", "Courier New", "Liberation Sans", "Liberation Serif",
    // "Times New Roman".
    std::vector<std::string> fontNames() override;

    void setTitle(const std::string& title) override;
    bool beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abortDoc() override;
    bool printing() const override { return printing_; }

    int pageWidth() const override { return setup_.pageWidth; }
    int pageHeight() const override { return setup_.pageHeight; }
    int dpiX() const override { return setup_.dpiX; }
    int dpiY() const override { return setup_.dpiY; }
    Point printableOffset() const override { return setup_.offset; }
    std::string lastOutput() const override { return "recording:" + title_; }

    void setFont(const FontSpec& font) override { canvas_.setFont(font); }
    void setPen(Color c, int w, PenStyle s) override { canvas_.setPen(c, w, s); }
    void setBrush(Color c, BrushStyle s) override { canvas_.setBrush(c, s); }
    void textOut(int x, int y, std::string_view t) override { canvas_.textOut(x, y, t); }
    int textWidth(std::string_view t) override { return canvas_.textWidth(t); }
    int textHeight(std::string_view t) override { return canvas_.textHeight(t); }
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

    // The log of every call, documents and pages included.
    const std::vector<std::string>& log() const { return canvas_.log(); }
    void clearLog() { canvas_.clearLog(); }
    int documentCount() const { return documents_; }
    int pageCount() const { return pages_; }

private:
    class Log : public RecordingCanvas {
    public:
        using RecordingCanvas::record;
        using RecordingCanvas::RecordingCanvas;
    };

    Setup setup_;
    Log canvas_;
    std::vector<std::string> names_{"Recording Printer"};
    int index_ = 0;
    std::string title_;
    bool printing_ = false;
    int documents_ = 0;
    int pages_ = 0;
};

} // namespace platform
