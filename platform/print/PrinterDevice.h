#pragma once

#include "platform/graphics/Canvas.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

// A printer: a canvas in device pixels, one page at a time, within one document.
class PrinterDevice : public Canvas {
public:
    virtual std::vector<std::string> printerNames() = 0;
    virtual int printerIndex() const = 0;
    virtual void setPrinterIndex(int index) = 0;
    std::string printerName() {
        auto names = printerNames();
        int i = printerIndex();
        return i >= 0 && i < static_cast<int>(names.size()) ? names[static_cast<size_t>(i)]
                                                            : std::string();
    }

    // The current printer's own device settings, to be kept with a document that remembers
    // its printer; none where the platform does not expose them.
    virtual std::optional<std::string> deviceSettings() { return std::nullopt; }

    // The names of the fonts the current printer can print with, in its own order.
    virtual std::vector<std::string> fontNames() = 0;

    virtual void setTitle(const std::string& title) = 0;
    // False when the document cannot be started or, once ended, was not stored in full
    // (a printout that is a file on a full disk); lastError() then says why.
    virtual bool beginDoc() = 0;
    virtual void newPage() = 0;
    virtual bool endDoc() = 0;
    virtual void abortDoc() = 0;
    virtual bool printing() const = 0;
    virtual std::string lastError() const { return {}; }

    // Page size in device pixels, resolution in pixels per inch, and the offset of the
    // printable area from the sheet's corner (the desktop's GETPRINTINGOFFSET).
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    virtual Point printableOffset() const = 0;

    // Where the last finished document went (a PDF path, a printer name).
    virtual std::string lastOutput() const = 0;

    // Drawing goes to the canvas of the page being printed.
    void setFont(const FontSpec& f) override { pageCanvas().setFont(f); }
    void setPen(Color c, int w, PenStyle s) override { pageCanvas().setPen(c, w, s); }
    void setBrush(Color c, BrushStyle s) override { pageCanvas().setBrush(c, s); }
    void textOut(int x, int y, std::string_view t) override { pageCanvas().textOut(x, y, t); }
    int textWidth(std::string_view t) override { return pageCanvas().textWidth(t); }
    int textHeight(std::string_view t) override { return pageCanvas().textHeight(t); }
    void moveTo(int x, int y) override { pageCanvas().moveTo(x, y); }
    void lineTo(int x, int y) override { pageCanvas().lineTo(x, y); }
    Point penPosition() const override { return pageCanvas().penPosition(); }
    void rectangle(int l, int t, int r, int b) override { pageCanvas().rectangle(l, t, r, b); }
    void fillRect(int l, int t, int r, int b) override { pageCanvas().fillRect(l, t, r, b); }
    void roundRect(int l, int t, int r, int b, int w, int h) override {
        pageCanvas().roundRect(l, t, r, b, w, h);
    }
    void polygon(const std::vector<Point>& p) override { pageCanvas().polygon(p); }
    bool stretchBitmap(const std::string& f, int l, int t, int w, int h) override {
        return pageCanvas().stretchBitmap(f, l, t, w, h);
    }
    void stretchImage(const Bitmap& i, int l, int t, int w, int h) override {
        pageCanvas().stretchImage(i, l, t, w, h);
    }

protected:
    virtual Canvas& pageCanvas() = 0;
    const Canvas& pageCanvas() const { return const_cast<PrinterDevice*>(this)->pageCanvas(); }
};

} // namespace platform
