// Barcodes drawn through the PDF printer, rasterised at 300 dpi and read back by an
// independent barcode reader: the symbols must scan as the codes they were drawn from.

#include "platform/qt/QtPrinter.h"
#include "printouts/Barcode.h"
#include "tests/support/TestEnvironment.h"

#include <QGuiApplication>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quillan {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.push_back(line);
    return out;
}

TEST(BarcodeDecode, PdfSymbolsScanAsTheirCodes) {
    static int argc = 1;
    static char name[] = "printouts_qt_tests";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    std::string folder = test::artefactFolder() + "barcodes-" + std::to_string(getpid()) + "/";
    fs::create_directories(folder);
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

    std::string page = folder + "page";
    test::runCommand("pdftoppm -r 300 -gray -png '" + pdf + "' '" + page + "'");
    std::string png;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".png")
            png = e.path().string();
    ASSERT_FALSE(png.empty()) << "pdftoppm made no page";
    std::vector<std::string> decoded =
        lines(test::runCommand("zbarimg --quiet --raw -Sdisable -Si25.enable '" + png + "'"));
    std::vector<std::string> expected = codes;
    std::sort(decoded.begin(), decoded.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(decoded, expected);
    fs::remove_all(folder);
}

} // namespace
} // namespace quillan
