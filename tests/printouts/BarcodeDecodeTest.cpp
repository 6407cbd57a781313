// Barcodes drawn through the PDF printer, rasterised at 300 dpi and read back by an
// independent barcode reader: the symbols must scan as the codes they were drawn from.

#include "platform/qt/QtPrinter.h"
#include "printouts/Barcode.h"
#include "tests/printouts/PdfReadBack.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace quillan {
namespace {

TEST(BarcodeDecode, PdfSymbolsScanAsTheirCodes) {
    test::PdfApplication application;
    std::string folder = test::pdfFolder("barcodes");
    platform::QtPrinter printer(folder);
    printer.setTitle("Barcodes");
    ASSERT_TRUE(printer.beginDoc());
    PointScale scale = PointScale::forResolution(printer.dpiX(), printer.dpiY());
    const std::vector<std::string> codes = {"1234554201", "1230054401", "12300579", "75201582"};
    int y = scale.dotsY(72);
    for (const std::string& code : codes) {
        DrawInterleaved2of5(printer, scale, code, scale.dotsX(72), y);
        DrawAutomationStripes(printer, scale, scale.dotsX(300), y + scale.dotsY(52));
        y += scale.dotsY(120);
    }
    printer.endDoc();
    std::string pdf = printer.lastOutput();
    ASSERT_TRUE(fs::exists(pdf)) << pdf;

    std::vector<std::string> expected = codes;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::decodeBarcodes(pdf, folder), expected);
    fs::remove_all(folder);
}

} // namespace
} // namespace quillan
