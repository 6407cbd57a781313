// The statement forms the build draws into bitmaps/: every form is there, reads back, and
// has room on its page image for everything the statement prints.

#include "reports/FormLayout.h"
#include "reports/StatementForm.h"
#include "reports/StatementPage.h"
#include "reports/StatementSections.h"
#include "tests/reports/StatementPositions.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace quillan {
namespace {

std::string bitmapsFolder() {
    return std::string(QUILLAN_BUILD_DIR) + "/bitmaps";
}

// The letters after the form number: "p" for meter or stamps, "n" for Nonprofit rates.
bool isPermit(const std::string& name) {
    return name.substr(4).find('p') == std::string::npos;
}
bool isNonprofit(const std::string& name) {
    return name.substr(4).find('n') != std::string::npos;
}

StatementPayment paymentOf(const std::string& name) {
    if (isPermit(name))
        return StatementPayment::Permit;
    return isNonprofit(name) ? StatementPayment::AffixedNonprofit
                             : StatementPayment::AffixedRegular;
}

TEST(StatementForms, EveryFormIsBuiltAndReadsBack) {
    for (const char* name : StatementFormNames) {
        for (const char* suffix : {".txt", "_p1.bmp", "_p2.bmp"})
            EXPECT_TRUE(fs::exists(bitmapsFolder() + "/" + name + suffix)) << name << suffix;
        StatementForm form = loadStatementForm(bitmapsFolder(), name);
        for (const platform::Bitmap* page : {&form.page1, &form.page2}) {
            EXPECT_EQ(page->width(), 2425) << name;
            EXPECT_EQ(page->height(), 3150) << name;
            EXPECT_EQ(page->palette().size(), 2u) << name;
        }
    }
}

// Device positions of a form point and of the bottom of a text cell there, inside the
// rectangle the page image is stretched over, at 600 and at 300 dpi.
class OnTheImage {
public:
    explicit OnTheImage(int dpi)
        : scale_(StatementScale::forPrinter(dpi, dpi, {0, 0})), rect_(formImageRect(scale_)) {}

    ::testing::AssertionResult operator()(double x, double y) const {
        for (double dy : {0.0, 11.0}) {
            int dx = scale_.deviceX(x);
            int dy2 = scale_.deviceY(y + dy);
            if (dx < rect_.left || dx >= rect_.left + rect_.width || dy2 < rect_.top ||
                dy2 >= rect_.top + rect_.height)
                return ::testing::AssertionFailure()
                       << "(" << x << ", " << y + dy << ") pt is off the page image";
        }
        return ::testing::AssertionSuccess();
    }

private:
    StatementScale scale_;
    DeviceRect rect_;
};

TEST(StatementForms, EverythingTheStatementPrintsFallsOnThePageImage) {
    for (int dpi : {600, 300}) {
        OnTheImage onImage(dpi);
        for (const char* name : StatementFormNames) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(dpi) + " dpi");
            FormLayout layout = LoadFormLayout(bitmapsFolder(), name);
            for (int place = 1; place <= FormLayout::Places; ++place)
                EXPECT_TRUE(onImage(layout.x(place), layout.y(place))) << "place " << place;

            test::FormFamily family = test::familyOf(name);
            for (const test::PlaceUse& use : test::placeUses(family, isPermit(name)))
                EXPECT_TRUE(onImage(layout.x(use.place) + use.dx, layout.y(use.place) + use.dy))
                    << "place " << use.place << " + (" << use.dx << ", " << use.dy << ")";
            for (const test::FixedText& t :
                 test::fixedTexts(family, isPermit(name), isNonprofit(name))) {
                double x = t.x < 0 ? layout.x(17) : t.x;
                double y = t.y < 0 ? layout.y(17) : t.y;
                // An amount reaches some 70 points from its x; a few digits 6 points each.
                double reach = std::min(70.0, 6.0 * static_cast<double>(t.sample.size()));
                EXPECT_TRUE(onImage(x, y));
                EXPECT_TRUE(onImage(t.right ? x - reach : x + reach, y));
            }
            for (char section : test::sectionsOf(family)) {
                auto columns = statementSectionColumns(section);
                ASSERT_TRUE(columns);
                std::vector<int> rows = statementSectionRows(section, paymentOf(name));
                EXPECT_FALSE(rows.empty()) << section;
                for (int row : rows) {
                    double y = statementSectionRowY(section, row, paymentOf(name));
                    EXPECT_TRUE(onImage(columns->quantityX - 40, y)) << section << row;
                    EXPECT_TRUE(onImage(columns->amountX, y)) << section << row;
                    if (columns->rateX) {
                        EXPECT_TRUE(onImage(columns->rateX - 30, y)) << section << row;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace quillan
