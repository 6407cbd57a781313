#pragma once

#include <QGuiApplication>
#include <string>
#include <vector>

namespace quillan::test {

// The PDF writer needs an application object, made and ended with each test.
struct PdfApplication {
    int argc = 1;
    char name[19] = "printouts_qt_tests";
    char* argv[2] = {name, nullptr};
    QGuiApplication app{argc, argv};
};

// A new folder among the artefacts for a test's PDFs, named for it, the process and a count.
std::string pdfFolder(const std::string& name);

// The Interleaved 2 of 5 symbols on the pages of a PDF, rasterised at 300 dpi into `folder`
// and read by an independent barcode reader, in sorted order.
std::vector<std::string> decodeBarcodes(const std::string& pdf, const std::string& folder);

} // namespace quillan::test
