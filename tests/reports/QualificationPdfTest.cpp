// The qualification and zone reports printed to PDF at 600 dots an inch on US Letter, as
// a mailer takes them to the post office: the pages a long mailing needs, the lines of the
// first page, and the texts a clerk reads.

#include "platform/qt/QtPrinter.h"
#include "reports/QualificationReport.h"
#include "tests/reports/QualificationRig.h"
#include "tests/support/MailingOf.h"

#include <QGuiApplication>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;

namespace quillan {
namespace {

std::string printToPdf(test::QualificationRig& rig, const std::string& folder) {
    platform::QtPrinter printer(folder);
    AppContext ctx(
        platform::Platform{rig.env.ui, printer, rig.env.help, rig.env.shell, rig.env.config},
        platform::resolveProgramPaths(rig.env.folder()));
    ctx.setNotices(rig.env.notices);
    ctx.lists = rig.ctx.lists;
    SortedMailing mailing = rig.mailing();
    PrintSession session = programPrintSession(ctx, rig.job, rig.env.notices);
    session.programVersion = rig.session.programVersion;
    session.ratesDate = rig.session.ratesDate;
    PrintQualificationReport(session, mailing);
    return printer.lastOutput();
}

int pageCount(const std::string& pdf) {
    std::smatch m;
    std::string info = test::runCommand("pdfinfo '" + pdf + "'");
    return std::regex_search(info, m, std::regex("Pages: +([0-9]+)")) ? std::stoi(m[1]) : 0;
}

class QualificationPdf : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "reports_qualification_pdf_tests";
        static char* argv[] = {name, nullptr};
        app_ = new QGuiApplication(argc, argv);
    }
    static void TearDownTestSuite() { delete app_; }

    // A folder of the test's own: the tests may run side by side.
    void SetUp() override {
        folder_ = test::artefactFolder() + "qualification/" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }

    static QGuiApplication* app_;
    std::string folder_;
};

QGuiApplication* QualificationPdf::app_ = nullptr;

TEST_F(QualificationPdf, FiftyGroupsRunOverTwoLetterPagesWithTheTotals) {
    test::QualificationRig rig(MailClass::RML);
    rig.fiveDigitTrays(50, 150);
    std::string pdf = printToPdf(rig, folder_);
    ASSERT_TRUE(fs::exists(pdf)) << pdf;
    EXPECT_EQ(pageCount(pdf), 2);
    std::string page1 = test::runCommand("pdftotext -layout -f 1 -l 1 '" + pdf + "' -");
    std::string page2 = test::runCommand("pdftotext -layout -f 2 -l 2 '" + pdf + "' -");
    // 39 group lines fit below the headings of the first page within the printable area of
    // the sheet (10.5 inches of 11): 75201 to 75239.
    EXPECT_NE(page1.find("75239"), std::string::npos) << page1;
    EXPECT_EQ(page1.find("75240"), std::string::npos) << page1;
    EXPECT_NE(page2.find("75240"), std::string::npos) << page2;
    EXPECT_NE(page2.find("TOTALS"), std::string::npos);
    EXPECT_NE(page2.find("7500"), std::string::npos);
    EXPECT_NE(page1.find("Report: USPS Qualification Report"), std::string::npos);
    EXPECT_NE(page2.find("Page 2"), std::string::npos);
}

TEST_F(QualificationPdf, PeriodicalsEndWithTheZoneReport) {
    test::QualificationRig rig(MailClass::PNAF);
    rig.ctx.lists.periodicalList[4] = "t";
    rig.ctx.lists.mailerList[7] = "THE DALLAS WEEKLY";
    int32_t sack = rig.container("DALLAS TX 75201", "5-Digit");
    int32_t mixed = rig.container("%ADC NORTH TEXAS TX 75099", "Mixed");
    int32_t g75201 = rig.group("5D 75201", 30, sack);
    int32_t g = rig.group("MA", 12, mixed);
    rig.zip(1234, 5, g);
    rig.zip(9001, 3, g);
    rig.zip(14001, 4, g);
    rig.zip(75201, 30, g75201, 3);
    std::string pdf = printToPdf(rig, folder_);
    ASSERT_TRUE(fs::exists(pdf)) << pdf;
    EXPECT_EQ(pageCount(pdf), 2);
    std::string zonePage = test::runCommand("pdftotext -layout -f 2 -l 2 '" + pdf + "' -");
    EXPECT_NE(zonePage.find("Report: USPS Zone Report"), std::string::npos) << zonePage;
    EXPECT_NE(zonePage.find("Page 1"), std::string::npos);
    EXPECT_NE(zonePage.find("Zone Missing"), std::string::npos);
    EXPECT_NE(zonePage.find("In-County"), std::string::npos);
}

} // namespace
} // namespace quillan
