#pragma once

#include "platform/print/PrinterDevice.h"
#include "platform/qt/PdfCanvas.h"
#include "platform/qt/QtPainterCanvas.h"

#include <QPainter>
#include <memory>

class QPrinter;

namespace platform {

// Printing through Qt. Printer 0 is the PDF printer, which stands for an office laser printer
// on US Letter: 600 dpi, a printable area a quarter inch in from each edge of the sheet, and
// each document in the printouts folder as "<title> <date> <time>.pdf". The others are the
// system's printers, with the printable area and offset each reports. Positions are device
// pixels from the printable area's top-left corner, and the page is the printable area, as
// on the desktop platform. The printouts folder and its files are made anew, never reached
// through a symbolic link, and a document is kept only when all of it reached the disk.
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
    bool endDoc() override;
    void abortDoc() override;
    bool printing() const override { return pdf_.active() || system_ != nullptr; }

    int pageWidth() const override;
    int pageHeight() const override;
    int dpiX() const override;
    int dpiY() const override;
    Point printableOffset() const override;
    std::string lastOutput() const override { return lastOutput_; }
    std::string lastError() const override { return lastError_; }

    // A font is measured from its TrueType data also outside a document.
    void setFont(const FontSpec& font) override;
    int textWidth(std::string_view t) override;
    int textHeight(std::string_view t) override;

protected:
    Canvas& pageCanvas() override;

private:
    bool openPdfFile();
    bool storePdf();
    void closePdfFile(bool keep);
    bool beginSystemDoc();
    void finishSystemDoc();

    std::string printoutsFolder_;
    int index_ = 0;
    std::string title_ = "Quillan";
    std::string lastOutput_;
    std::string lastError_;
    std::string pendingOutput_;
    // The PDF's file, opened before the document begins and written when it ends.
    int pdfFolder_ = -1;
    int pdfFile_ = -1;
    std::string pdfName_;
    FontSpec font_;
    PdfCanvas pdf_;
    std::unique_ptr<QPrinter> system_;
    QPainter painter_;
    QtPainterCanvas canvas_;
};

} // namespace platform
