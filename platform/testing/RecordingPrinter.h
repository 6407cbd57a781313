#pragma once

#include "platform/print/PrinterDevice.h"
#include "platform/testing/RecordingCanvas.h"

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
    bool endDoc() override;
    void abortDoc() override;
    bool printing() const override { return printing_; }

    int pageWidth() const override { return setup_.pageWidth; }
    int pageHeight() const override { return setup_.pageHeight; }
    int dpiX() const override { return setup_.dpiX; }
    int dpiY() const override { return setup_.dpiY; }
    Point printableOffset() const override { return setup_.offset; }
    std::string lastOutput() const override { return "recording:" + title_; }

    // The log of every call, documents and pages included.
    const std::vector<std::string>& log() const { return canvas_.log(); }
    void clearLog() { canvas_.clearLog(); }
    int documentCount() const { return documents_; }
    int pageCount() const { return pages_; }

protected:
    Canvas& pageCanvas() override { return canvas_; }

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
