#include "reports/PostageStatement.h"

#include "core/ShortDate.h"
#include "core/postage/StatementPostage.h"
#include "reports/PrintCopies.h"
#include "reports/StatementForm.h"
#include "reports/StatementFormChoice.h"
#include "reports/StatementPage.h"
#include "reports/StatementPageOne.h"
#include "reports/StatementPageTwo.h"
#include "reports/StatementTotals.h"

namespace quillan {

namespace {

const char* const JobTitle = "Quillan Postage Statement";

// Which of the two pages the chosen range draws: page 1 from page 1 on; page 2 when the
// range starts by page 2 and does not end at page 1.
struct PagesInRange {
    bool first = false;
    bool second = false;
    bool any() const { return first || second; }
};

PagesInRange pagesInRange(const PrintJobControl& job) {
    return {job.fromPage() <= 1, job.fromPage() <= 2 && job.toPage() > 1};
}

// One statement, ready to draw: the form and the texts of both pages.
struct PreparedStatement {
    StatementForm form;
    std::vector<StatementText> pageOne;
    std::vector<StatementText> pageTwo;
};

PreparedStatement prepare(const PrintSession& session, const SortedMailing& mailing,
                          PagesInRange pages) {
    StatementPostage postage = computeStatementPostage(mailing);
    bool permit = mailing.statement().permitImprint();
    std::string formName = statementFormName(mailing.mailClass(), mailing.mailType(), permit);
    PreparedStatement statement;
    statement.form = loadStatementForm(session.formsFolder, formName, pages.first, pages.second);
    StatementHeader header{todayShortDate(), "Quillan Windows Version " + session.programVersion +
                                                 " - Released " + session.ratesDate};
    const FormLayout& layout = statement.form.layout;
    statement.pageOne = pageOneFieldTexts(mailing, layout, header);
    appendTexts(statement.pageOne, pageOneTotalTexts(mailing, postage, layout));
    statement.pageTwo = pageTwoTexts(mailing, postage);
    appendTexts(statement.pageTwo, footerTexts(layout, header));
    return statement;
}

// Pieces the zone chart gives no zone are in no zone charge: the mailer hears of them
// before the statement prints.
void warnOfUnzonedPieces(Notices& notices, const SortedMailing& mailing) {
    if (!mailing.mailClass().isPeriodicals())
        return;
    if (std::optional<std::string> warning = unzonedWarning(computePeriodicalZoneCharges(mailing)))
        notices.tell({platform::BeepKind::Exclamation, platform::MessageKind::Warning,
                      platform::MessageButtons::Ok, *warning});
}

// Draws the copies of one statement.
class StatementPrinter {
public:
    StatementPrinter(PrintSession& session, const PreparedStatement& statement, PagesInRange pages)
        : session_(session), printer_(session.printer), statement_(statement), pages_(pages) {}

    void printCopies();

private:
    void printCopy();
    void changeToPageTwo();
    void beginDocument();
    void drawPage(const platform::Bitmap& image, const std::vector<StatementText>& texts);
    void draw(const StatementText& text);
    void turnToPage(int32_t page);

    PrintSession& session_;
    platform::PrinterDevice& printer_;
    const PreparedStatement& statement_;
    PagesInRange pages_;
    StatementScale scale_;
    bool begun_ = false;
    int fontSize_ = 0;
};

void StatementPrinter::printCopies() {
    printEachCopy(session_, [this] { printCopy(); });
}

void StatementPrinter::printCopy() {
    session_.stopPrinting = false;
    begun_ = false;
    turnToPage(1);
    if (pages_.first)
        drawPage(statement_.form.page1, statement_.pageOne);
    changeToPageTwo();
    if (pages_.second && !session_.stopPrinting)
        drawPage(statement_.form.page2, statement_.pageTwo);
}

// The copy ends at page 1 when the range does.
void StatementPrinter::changeToPageTwo() {
    if (session_.job.toPage() <= session_.runPageNumber)
        session_.stopPrinting = true;
    turnToPage(2);
}

// The statement's pages are pages 1 and 2 of the run, whatever was printed before it.
void StatementPrinter::turnToPage(int32_t page) {
    session_.runPageNumber = page;
    servicePrintingBox(session_);
}

void StatementPrinter::beginDocument() {
    beginPrintDocument(printer_, JobTitle);
    begun_ = true;
    scale_ =
        StatementScale::forPrinter(printer_.dpiX(), printer_.dpiY(), printer_.printableOffset());
    fontSize_ = 10;
    printer_.setFont({"Arial", fontSize_, false, false, false});
    printer_.setPen(platform::Color{0, 0, 0}, 1, platform::PenStyle::Solid);
    printer_.moveTo(0, 0);
}

// A page of a copy: the first page drawn begins the document, a later one a new sheet.
void StatementPrinter::drawPage(const platform::Bitmap& image,
                                const std::vector<StatementText>& texts) {
    if (begun_)
        printer_.newPage();
    else
        beginDocument();
    DeviceRect r = formImageRect(scale_);
    DrawFormImage(printer_, r.left, r.top, r.width, r.height, image);
    for (const StatementText& text : texts)
        draw(text);
}

void StatementPrinter::draw(const StatementText& text) {
    if (text.fontSize != fontSize_) {
        fontSize_ = text.fontSize;
        printer_.setFont({"Arial", fontSize_, false, false, false});
    }
    int x = scale_.deviceX(text.x);
    if (text.align == StatementText::Right)
        x -= printer_.textWidth(text.text + text.roomAfter);
    printer_.textOut(x, scale_.deviceY(text.y), text.text);
}

} // namespace

void PrintPostageStatement(PrintSession& session, const SortedMailing& mailing) {
    if (!session.askToPrint("Ready to print postage statement.", AfterSortReport::Statement))
        return;
    PagesInRange pages = pagesInRange(session.job);
    PreparedStatement statement = prepare(session, mailing, pages);
    warnOfUnzonedPieces(session.notices, mailing);
    StatementPrinter(session, statement, pages).printCopies();
}

} // namespace quillan
