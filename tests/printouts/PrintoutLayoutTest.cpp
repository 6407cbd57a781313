// A small mailing of every class printed after its sort with every report (the postage
// statement, the mail preparation instructions, the qualification report and the tags) on the
// PDF printer, and read back word by word by an independent reader: every word lies within
// the printable area of the sheet and none is drawn over another.

#include "app/AfterSortReports.h"
#include "platform/qt/QtPrinter.h"
#include "tests/printouts/InstructionsRig.h"
#include "tests/printouts/PdfReadBack.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;
using namespace quillan;

namespace {

struct MailClassCase {
    const char* code;
    const char* category;
    const char* size;
    const char* name = code;
    const char* pieces = nullptr; // the pieces below when none are given
    const char* mailerEntry = "0";
};

std::ostream& operator<<(std::ostream& out, const MailClassCase& c) {
    return out << c.name;
}

// A word as the reader places it, in points from the sheet's top-left corner.
struct Word {
    int page;
    double left, top, right, bottom;
    std::string text;
};

std::string describe(const Word& w) {
    std::ostringstream out;
    out << "\"" << w.text << "\" on page " << w.page << " at (" << w.left << ", " << w.top << ")-("
        << w.right << ", " << w.bottom << ")";
    return out.str();
}

// The words of a PDF. The sheet is widened first, so that a word drawn off the paper, which
// the reader would leave out, is read too (at its place on the sheet).
std::vector<Word> wordsOf(const std::string& pdf, const std::string& folder) {
    constexpr double Pad = 300;
    std::ifstream in(pdf, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes = std::regex_replace(bytes, std::regex("/MediaBox \\[0 0 612 792\\]"),
                               "/MediaBox [-300 -300 912 1092]");
    std::string widened = folder + "widened.pdf";
    std::ofstream(widened, std::ios::binary) << bytes;
    std::string html = test::runCommand("pdftotext -bbox '" + widened + "' - 2>/dev/null");
    std::vector<Word> words;
    std::regex page("<page "), word("<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" "
                                    "xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>");
    int pageNumber = 0;
    std::istringstream lines(html);
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, page))
            ++pageNumber;
        std::smatch m;
        if (std::regex_search(line, m, word))
            words.push_back({pageNumber, std::stod(m[1]) - Pad, std::stod(m[2]) - Pad,
                             std::stod(m[3]) - Pad, std::stod(m[4]) - Pad, m[5]});
    }
    return words;
}

// The printable area of the PDF printer's sheet: US Letter less a quarter inch all round.
constexpr double Margin = 18, SheetWidth = 612, SheetHeight = 792;

void expectOnThePrintableArea(const std::vector<Word>& words) {
    for (const Word& w : words)
        EXPECT_TRUE(w.left >= Margin && w.top >= Margin && w.right <= SheetWidth - Margin &&
                    w.bottom <= SheetHeight - Margin)
            << describe(w);
}

void expectNoneOverAnother(const std::vector<Word>& words) {
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t j = i + 1; j < words.size(); ++j) {
            const Word &a = words[i], &b = words[j];
            bool over = a.page == b.page && std::min(a.right, b.right) > std::max(a.left, b.left) &&
                        std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
            EXPECT_FALSE(over) << describe(a) << " and " << describe(b);
        }
}

// Pieces to 5-digit, 3-digit, SCF, ADC and mixed containers of the test geography, some
// in-county, some without ZIP+4, and two rejected records.
const char* const Pieces = "75201x160/20, 75202x40, -75203x15, 75204x9, 75301x25, 75401x12, "
                           "73001x30, 73101x8, 77301x22, 14001x60, 14101x25, 15001x11, "
                           "80001x10, 96701x30, 01234x12, -09001x3, 09002x4, !07520x2";

// A co-sacked Periodicals mailing whose pieces, a few to each 3-digit area, go to every zone
// and fill no package but the mixed ones: their zone lists run to "IC/1-2/3/4/5/6/7/8", and
// entered at the SCF to "IC/SCF/3/4/5/6/7/8".
const char* const ManyZonePieces = "75201x160/20, 75202x40, 75101x2/1, -75102x2, 75301x2, "
                                   "-73001x2, 73101x2, 77001x2, -80001x2, 15001x2, -15101x1, "
                                   "14001x2, -14101x2, 01001x2, 96701x2, -96801x2, 75204x9";

class PrintoutLayout : public ::testing::TestWithParam<MailClassCase> {};

TEST_P(PrintoutLayout, EveryWordOnThePrintableAreaAndNoneOverAnother) {
    const MailClassCase& c = GetParam();
    test::PdfApplication application;
    std::string folder = test::pdfFolder(std::string("layout-") + c.code);
    platform::QtPrinter printer(folder);
    test::InstructionsRig r(c.category, c.size, printer);
    r.rig.env.copyStatementForms();
    fs::copy_file(std::string(QUILLAN_SHIPPED_TABLES) + "/stampbw.bmp",
                  r.ctx().dataFile("stampbw.bmp"));
    r.mailType(MailTypeSettings::WeightChoice, "1");
    r.mailType(MailTypeSettings::PieceWeight, "3.5");
    r.periodical(PeriodicalSettings::InCounty, "t");
    r.ctx().lists.mailerList[MailerSettings::EntryType] = c.mailerEntry;
    const SortedMailing& mailing = r.sort(c.pieces ? c.pieces : Pieces);
    ASSERT_EQ(mailing.mailClass().code(), c.code);

    AppContext& ctx = r.ctx();
    PrintRun& run = r.rig.run;
    setAfterSortPrinters(run);
    for (long line = 6; line <= 9; ++line)
        ctx.lists.prefsList[line] = "t";
    r.rig.env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
    r.rig.env.ui.answerNextMessage(platform::ModalResult::Ok); // tag stock is in the printer
    PrintReportsAfterSort(ctx, run, mailing);

    std::vector<std::string> pdfs;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".pdf")
            pdfs.push_back(entry.path().string());
    ASSERT_EQ(pdfs.size(), 4u) << "every report";
    for (const std::string& pdf : pdfs) {
        SCOPED_TRACE(fs::path(pdf).filename().string());
        std::vector<Word> words = wordsOf(pdf, folder);
        EXPECT_GT(words.size(), 20u);
        expectOnThePrintableArea(words);
        expectNoneOverAnother(words);
        if (pdf.find("Postage Statement") != std::string::npos) {
            EXPECT_LT(fs::file_size(pdf), 200u * 1024)
                << "the form pictures go in losslessly small";
        }
    }
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    EveryClass, PrintoutLayout,
    ::testing::Values(MailClassCase{"RML", "0", "0"}, MailClassCase{"RNML", "1", "0"},
                      MailClassCase{"RNAF", "2", "1"}, MailClassCase{"RAL", "3", "0"},
                      MailClassCase{"RAF", "3", "1"}, MailClassCase{"RCOF", "4", "1"},
                      MailClassCase{"PNAL", "5", "0"}, MailClassCase{"PNAF", "5", "1"},
                      MailClassCase{"PAL", "6", "0"}, MailClassCase{"PAF", "6", "1"},
                      MailClassCase{"PCOF", "7", "1"}, MailClassCase{"FAL", "8", "0"},
                      MailClassCase{"PCOF", "7", "1", "PCOFManyZones", ManyZonePieces},
                      MailClassCase{"PCOF", "7", "1", "PCOFManyZonesScfEntry", ManyZonePieces,
                                    "1"}),
    [](const ::testing::TestParamInfo<MailClassCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
