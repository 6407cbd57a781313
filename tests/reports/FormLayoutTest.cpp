#include "reports/FormLayout.h"
#include "platform/testing/RecordingPrinter.h"
#include "reports/FormFileError.h"
#include "reports/StatementPage.h"
#include "reports/StatementSections.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quillan {
namespace {

class FormLayoutFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("quillan-forms-" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A coordinate file of the title and the given lines, entry k being k × 10 unless
    // replaced.
    void write(const std::string& form, int lines, const std::string& eol = "\n", int badLine = 0,
               const std::string& bad = "") {
        std::ofstream out(folder_ / (form + ".txt"), std::ios::binary);
        out << "Test form, anything at all" << eol;
        for (int k = 1; k <= lines; ++k)
            out << (k == badLine ? bad : std::to_string(k * 10)) << eol;
    }

    std::string errorOf(const std::string& form) {
        try {
            LoadFormLayout(folder(), form);
        } catch (const FormFileError& e) {
            return e.what();
        }
        return "loaded";
    }

    std::string folder() const { return folder_.string(); }
    std::string pathOf(const std::string& form) const { return formLayoutPath(folder(), form); }

    fs::path folder_;
};

TEST_F(FormLayoutFile, ReadsTheFiftyTwoEntriesAsPlaces) {
    write("3602r", 52, "\r\n"); // as written on the desktop platform
    FormLayout layout = LoadFormLayout(folder(), "3602r");
    EXPECT_EQ(layout.x(1), 10); // place 1: the file's lines 1 and 2
    EXPECT_EQ(layout.y(26), 520);
    EXPECT_EQ(layout.x(17), 330); // place 17: lines 33 and 34
    EXPECT_EQ(layout.y(17), 340);
    // Lines beyond the 52nd are no business of the reader.
    write("3602p", 60);
    EXPECT_EQ(LoadFormLayout(folder(), "3602p").y(26), 520);
}

TEST_F(FormLayoutFile, ErrorsNameTheFileAndTheLine) {
    write("short", 51);
    std::string shortFile = errorOf("short");
    EXPECT_NE(shortFile.find(pathOf("short")), std::string::npos) << shortFile;
    EXPECT_NE(shortFile.find("line 52"), std::string::npos) << shortFile;

    write("letters", 52, "\n", 12, "12a");
    std::string letters = errorOf("letters");
    EXPECT_NE(letters.find(pathOf("letters")), std::string::npos) << letters;
    EXPECT_NE(letters.find("line 12"), std::string::npos) << letters;
    EXPECT_NE(letters.find("'12a'"), std::string::npos) << letters;

    write("empty", 52, "\n", 30, "");
    EXPECT_NE(errorOf("empty").find("line 30"), std::string::npos);

    std::string missing = errorOf("3600r");
    EXPECT_NE(missing.find(pathOf("3600r")), std::string::npos) << missing;
}

TEST(StatementPage, FormImageRectangleAndPointConversion) {
    EXPECT_EQ(formImageRect(StatementScale::forPrinter(600, 600, {0, 0})),
              (DeviceRect{50, 50, 4850, 6300}));
    EXPECT_EQ(formImageRect(StatementScale::forPrinter(300, 300, {0, 0})),
              (DeviceRect{46, 46, 2446, 3171}));
    // The offset moves the picture with the values written on it, and leaves its size.
    EXPECT_EQ(formImageRect(StatementScale::forPrinter(600, 600, {25, 30})),
              (DeviceRect{25, 20, 4850, 6300}));

    StatementScale s72 = StatementScale::forPrinter(72, 72, {0, 0});
    EXPECT_EQ(s72.deviceX(10.5L), 10);
    EXPECT_EQ(s72.deviceX(11.5L), 12);
    StatementScale s600 = StatementScale::forPrinter(600, 600, {12, 16});
    // 284 × 8.333333 = 2366.67, less the offset.
    EXPECT_EQ(s600.deviceX(284), 2367 - 12);
    EXPECT_EQ(s600.deviceY(104), 867 - 16);
}

TEST(StatementPage, DrawsThePageImageStretchedOverItsRectangle) {
    platform::RecordingPrinter printer;
    platform::Bitmap page = platform::Bitmap::indexed(20, 30, {{255, 255, 255}, {0, 0, 0}});
    DeviceRect r = formImageRect(StatementScale::forPrinter(600, 600, {0, 0}));
    DrawFormImage(printer, r.left, r.top, r.width, r.height, page);
    ASSERT_EQ(printer.log().size(), 1u);
    EXPECT_EQ(printer.log()[0], "image 20x30 50 50 4850 6300");
}

TEST(StatementSections, RowsDependOnThePayment) {
    using P = StatementPayment;
    EXPECT_EQ(statementSectionRowY('A', 1, P::Permit), 104);
    EXPECT_EQ(statementSectionRowY('A', 1, P::AffixedRegular), 112);
    EXPECT_EQ(statementSectionRowY('A', 1, P::AffixedNonprofit), 101);
    EXPECT_EQ(statementSectionRowY('D', 42, P::Permit), 629);
    EXPECT_EQ(statementSectionRowY('D', 21, P::AffixedNonprofit), 616);
    EXPECT_EQ(statementSectionRowY('P', 68, P::AffixedRegular), 642);
    // Rows a section does not have print at the top edge of the page.
    EXPECT_EQ(statementSectionRowY('A', 18, P::Permit), 0);
    EXPECT_EQ(statementSectionRowY('D', 8, P::AffixedRegular), 0);
    EXPECT_EQ(statementSectionRowY('F', 1, P::Permit), 0);
    EXPECT_EQ(statementSectionRowY('Q', 1, P::Permit), 0);

    EXPECT_EQ(statementSectionRows('J', P::AffixedRegular).size(), 11u);
    EXPECT_EQ(statementSectionRows('J', P::Permit).size(), 22u);
    EXPECT_EQ(statementSectionRows('P', P::Permit),
              (std::vector<int>{21, 22, 23, 24, 25, 26, 27, 28, 29, 33, 52,
                                56, 57, 58, 59, 60, 61, 62, 63, 64, 68}));
    ASSERT_TRUE(statementSectionColumns('D'));
    EXPECT_EQ(statementSectionColumns('D')->rateX, 444);
    EXPECT_EQ(statementSectionColumns('A')->rateX, 0);
    EXPECT_FALSE(statementSectionColumns('C'));
}

} // namespace
} // namespace quillan
