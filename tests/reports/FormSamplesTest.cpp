// Every statement form printed to PDF with sample values at every place, section row and
// fixed position the statement prints at, one PDF per form family, kept among the test
// artefacts for a person to look at (pdftoppm turns them into pictures).

#include "platform/qt/QtPrinter.h"
#include "reports/StatementForm.h"
#include "reports/StatementPage.h"
#include "reports/StatementSections.h"
#include "tests/reports/StatementPositions.h"
#include "tests/support/TestEnvironment.h"

#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>

namespace fs = std::filesystem;

namespace quillan {
namespace {

class SamplePrinter {
public:
    SamplePrinter(platform::PrinterDevice& printer)
        : printer_(printer), scale_(StatementScale::forPrinter(printer.dpiX(), printer.dpiY(),
                                                               printer.printableOffset())) {}

    void print(const StatementForm& form) {
        bool permit = form.name.substr(4).find('p') == std::string::npos;
        bool nonprofit = form.name.substr(4).find('n') != std::string::npos;
        test::FormFamily family = test::familyOf(form.name);
        DeviceRect r = formImageRect(scale_);

        DrawFormImage(printer_, r.left, r.top, r.width, r.height, form.page1);
        for (const test::PlaceUse& use : test::placeUses(family, permit)) {
            if (!use.inSample)
                continue;
            int size = use.sample == "x" || use.place >= 25 ? 8 : 10;
            if (use.place == 5)
                size = 6;
            text(form.layout.x(use.place) + use.dx, form.layout.y(use.place) + use.dy, use.sample,
                 size, false);
        }
        auto fixed = test::fixedTexts(family, permit, nonprofit);
        placeFixed(form, fixed, 1);

        printer_.newPage();
        DrawFormImage(printer_, r.left, r.top, r.width, r.height, form.page2);
        StatementPayment payment = permit      ? StatementPayment::Permit
                                   : nonprofit ? StatementPayment::AffixedNonprofit
                                               : StatementPayment::AffixedRegular;
        for (char section : test::sectionsOf(family)) {
            auto columns = *statementSectionColumns(section);
            for (int row : statementSectionRows(section, payment)) {
                int y = statementSectionRowY(section, row, payment);
                text(columns.quantityX, y, "12,345", 8, true);
                text(columns.amountX, y, "1,234.5678", 8, true);
                if (columns.rateX)
                    text(columns.rateX, y, "0.208", 8, true);
            }
        }
        placeFixed(form, fixed, 2);
        for (int place : {25, 26})
            text(form.layout.x(place), form.layout.y(place),
                 place == 25 ? "Facsimile" : "Quillan Windows Version 6.2.4 - Released 12/08/2026",
                 8, false);
    }

private:
    void placeFixed(const StatementForm& form, const std::vector<test::FixedText>& fixed,
                    int page) {
        std::vector<const test::FixedText*> done;
        for (const test::FixedText& t : fixed) {
            if (t.page != page)
                continue;
            // Texts a few points apart stand for different classes; one of them is enough.
            bool shown = std::any_of(done.begin(), done.end(), [&](const test::FixedText* d) {
                return d->x == t.x && std::abs(d->y - t.y) < 8;
            });
            if (shown)
                continue;
            done.push_back(&t);
            double x = t.x < 0 ? form.layout.x(17) : t.x;
            double y = t.y < 0 ? form.layout.y(17) : t.y;
            text(x, y, t.sample, page == 1 ? 10 : 8, t.right);
        }
    }

    void text(double x, double y, const std::string& s, int size, bool right) {
        printer_.setFont({"Arial", size, false, false, false});
        int dx = scale_.deviceX(x);
        if (right)
            dx -= printer_.textWidth(s);
        printer_.textOut(dx, scale_.deviceY(y), s);
    }

    platform::PrinterDevice& printer_;
    StatementScale scale_;
};

TEST(FormSamples, EveryFormFamilyPrintsToPdf) {
    static int argc = 1;
    static char name[] = "reports_form_samples_tests";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    std::string bitmaps = std::string(QUILLAN_BUILD_DIR) + "/bitmaps";
    std::string folder = test::artefactFolder() + "statement-forms/";
    fs::remove_all(folder);
    fs::create_directories(folder);

    std::map<test::FormFamily, std::vector<std::string>> families;
    for (const char* form : StatementFormNames)
        families[test::familyOf(form)].push_back(form);

    for (const auto& [family, forms] : families) {
        platform::QtPrinter printer(folder);
        printer.setTitle("Statement forms " + forms.front());
        ASSERT_TRUE(printer.beginDoc());
        SamplePrinter samples(printer);
        for (size_t i = 0; i < forms.size(); ++i) {
            if (i > 0)
                printer.newPage();
            samples.print(loadStatementForm(bitmaps, forms[i]));
        }
        printer.endDoc();
        std::string pdf = printer.lastOutput();
        ASSERT_TRUE(fs::exists(pdf)) << pdf;
        std::string info = test::runCommand("pdfinfo '" + pdf + "'");
        EXPECT_TRUE(std::regex_search(
            info, std::regex("Pages: +" + std::to_string(2 * forms.size()) + "\n")))
            << info;
        std::string text = test::runCommand("pdftotext '" + pdf + "' -");
        EXPECT_NE(text.find("Facsimile"), std::string::npos);
        EXPECT_NE(text.find("1,234.5678"), std::string::npos);
    }
}

} // namespace
} // namespace quillan
