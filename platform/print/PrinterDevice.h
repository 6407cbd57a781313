#pragma once

#include "ui/Canvas.h"

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

    // The names of the fonts the current printer can print with, in its own order.
    virtual std::vector<std::string> fontNames() = 0;

    virtual void setTitle(const std::string& title) = 0;
    virtual bool beginDoc() = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
    virtual void abortDoc() = 0;
    virtual bool printing() const = 0;

    // Page size in device pixels, resolution in pixels per inch, and the offset of the
    // printable area from the sheet's corner (the desktop's GETPRINTINGOFFSET).
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    virtual Point printableOffset() const = 0;

    // Where the last finished document went (a PDF path, a printer name).
    virtual std::string lastOutput() const = 0;
};

} // namespace platform
