#pragma once

#include "platform/print/PrinterDevice.h"
#include "platform/qt/QtPainterCanvas.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <memory>

namespace platform {

// Printing through Qt. Printer 0 is the PDF writer (600 dpi, US Letter), which puts each
// document into the printouts folder as "<title> <date> <time>.pdf"; the others are the
// system's printers. The folder and its files are made anew, never reached through a
// symbolic link, and a document is kept only when all of it reached the disk.
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
    bool printing() const override { return device_ != nullptr; }

    int pageWidth() const override;
    int pageHeight() const override;
    int dpiX() const override;
    int dpiY() const override;
    Point printableOffset() const override;
    std::string lastOutput() const override { return lastOutput_; }
    std::string lastError() const override { return lastError_; }

    int textWidth(std::string_view t) override;
    int textHeight(std::string_view t) override;

protected:
    Canvas& pageCanvas() override { return canvas_; }

private:
    bool openPdfFile();
    bool storePdf();
    void closePdfFile(bool keep);
    void finish();

    std::string printoutsFolder_;
    int index_ = 0;
    std::string title_ = "Quillan";
    std::string lastOutput_;
    std::string lastError_;
    std::string pendingOutput_;
    // The PDF being made: its bytes in memory, then written to the file opened for it.
    QBuffer pdfBytes_;
    int pdfFolder_ = -1;
    int pdfFile_ = -1;
    std::string pdfName_;
    std::unique_ptr<QPagedPaintDevice> device_;
    QPainter painter_;
    QtPainterCanvas canvas_;
    // Measuring outside a document uses a PDF writer of the same resolution.
    std::unique_ptr<QPagedPaintDevice> measureDevice_;
    QPainter measurePainter_;
};

} // namespace platform
