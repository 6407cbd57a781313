// Tags printed through the PDF writer, read back as a person's scanner and eyes would: the
// barcodes rasterised at 300 dpi and decoded by an independent reader, the texts extracted.

#include "platform/qt/QtPrinter.h"
#include "printouts/ContainerBlock.h"
#include "printouts/TagPrintout.h"
#include "tests/printouts/PdfReadBack.h"
#include "tests/printouts/TagRig.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quillan;
using test::TagRig;

namespace {

struct PdfTags {
    test::PdfApplication application;
    std::string folder;
    platform::QtPrinter printer;
    TagRig rig;

    explicit PdfTags(const std::string& classCode)
        : folder(test::pdfFolder("tags")), printer(folder), rig(classCode, printer) {}
    ~PdfTags() { fs::remove_all(folder); }

    std::string printTags() {
        rig.afterSortChoice(1, 9999);
        rig.env.ui.answerNextMessage(platform::ModalResult::Ok);
        PrintTags(rig.run, rig.mailing());
        return printer.lastOutput();
    }

    std::vector<std::string> decode(const std::string& pdf) {
        return test::decodeBarcodes(pdf, folder);
    }
};

// The texts of a PDF with every run of blanks as one blank, as the extractor gives them
// (the count line's three blanks come out as one).
std::string pdfText(const std::string& pdf) {
    std::string text = test::runCommand("pdftotext -raw '" + pdf + "' -");
    std::string squeezed;
    for (char c : text)
        if (c != ' ' || squeezed.empty() || squeezed.back() != ' ')
            squeezed += c;
    return squeezed;
}

} // namespace

TEST(TagsOnPaper, TrayBarcodesScanAsTheirTagCodesAndTheTextsRead) {
    PdfTags t("RAL");
    t.rig.container("CITY ST 12345", 150);
    t.rig.container("SPRINGFIELD MA 123", 300, "3-Digit");
    t.rig.container("$AADC NORTH TEXAS TX 75099", 90, "AADC");
    std::string pdf = t.printTags();
    ASSERT_TRUE(fs::exists(pdf)) << pdf;
    EXPECT_EQ(t.decode(pdf), (std::vector<std::string>{"1230054401", "1234554201", "7509954501"}));
    std::string text = pdfText(pdf);
    for (const char* shown : {"CITY ST", "12345", "STD LTR 5D BC", "1234554201", "Tray #1 150 pc",
                              "Tray #2 300 pc", "DALLAS TX 75201"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in\n" << text;
}

TEST(TagsOnPaper, SackBarcodesCarryEightDigits) {
    PdfTags t("RNAF");
    t.rig.container("CITY ST 12345", 40);
    t.rig.container("$ADC NORTH TEXAS TX 75099", 30, "Basic");
    t.rig.container("%MXD NORTH TEXAS TX 75099", 12, "Basic");
    std::string pdf = t.printTags();
    ASSERT_TRUE(fs::exists(pdf)) << pdf;
    EXPECT_EQ(t.decode(pdf), (std::vector<std::string>{"12345578", "75099580", "75099582"}));
    EXPECT_NE(pdfText(pdf).find("Sack #3 12 pc"), std::string::npos);
}

TEST(TagsOnPaper, MixedTrayOfTheInstructionsReadsMixedAdc) {
    PdfTags t("RNML");
    t.rig.container("%MXD NORTH TEXAS TX 75099", 40, "Basic");
    SortedMailing mailing = t.rig.mailing();
    t.rig.run.runCopies("Quillan Mail Prep Instructions", [&] {
        t.rig.run.pageInRange = true;
        t.rig.session.runPageNumber = 1;
        t.printer.moveTo(0, t.rig.run.dotsY(72));
        PrintContainerBlock(t.rig.run, mailing, TagStyle::of(mailing), 0,
                            ContainerBlockMode::Instructions);
    });
    std::string text = pdfText(t.printer.lastOutput());
    EXPECT_NE(text.find("Make a 1' mm-type mixed adc tray totaling 40 pieces in the remaining "
                        "zip codes."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("STD LTR MANUAL WKG"), std::string::npos) << text;
    EXPECT_EQ(t.decode(t.printer.lastOutput()), std::vector<std::string>{"7509960507"});
}
