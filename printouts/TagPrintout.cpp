#include "printouts/TagPrintout.h"

#include "printouts/ContainerBlock.h"
#include "printouts/ContainerTag.h"

#include <exception>
#include <optional>
#include <string>

namespace quillan {

const char* const TagStockQuestion = "Put tag stock in printer. Click OK to print.";

namespace {

const char* const TagCaption = "Ready to print tags. Be sure tag stock is in printer.";

// Co-sacked flats print under the tray title, as they always have.
const char* jobTitle(MailClass mailClass) {
    return mailClass.isFlats() && !mailClass.isCoSacked() ? "Quillan Sack Tags"
                                                          : "Quillan Tray Tags";
}

bool confirmTagStock(PrintSession& session, bool afterSort) {
    if (!afterSort)
        return session.askToPrint(TagCaption, AfterSortReport::Tags);
    if (session.unattended)
        return true;
    return session.notices.tell({platform::BeepKind::Exclamation,
                                 platform::MessageKind::Confirmation,
                                 platform::MessageButtons::OkCancel, TagStockQuestion}) !=
           platform::ModalResult::Cancel;
}

// One copy: rows of two tags from the top of the first sheet; a row that would run off the
// sheet starts the next one, and past the To page nothing more is drawn.
void printTagCopy(PrintRun& run, const SortedMailing& mailing, const TagStyle& style) {
    PrintSession& session = run.session();
    platform::PrinterDevice& printer = run.printer();
    int32_t& runPage = session.runPageNumber;
    if (!session.justSorted)
        runPage = 0;
    run.reportPageNumber = 0;
    printer.moveTo(0, 0);
    run.mailPrepMode = false;
    run.pageInRange = runPage + 1 >= run.fromPage();
    run.StartReportPage("sacks", true);
    run.setFontSize(10);
    platform::Point row = printer.penPosition();
    bool rightSide = false;
    for (size_t k = 0; k < mailing.containers().size(); ++k) {
        if (row.y + run.dotsY(144) > printer.pageHeight()) {
            run.nextPageOrStop("sacks");
            row = printer.penPosition();
        }
        if (run.toPage() >= runPage && !run.stopped())
            PrintContainerBlock(run, mailing, style, k,
                                rightSide ? ContainerBlockMode::RightTag
                                          : ContainerBlockMode::LeftTag);
        if (rightSide)
            row.y += run.dotsY(144);
        rightSide = !rightSide;
        printer.moveTo(row.x, row.y);
    }
}

// What would stop the tags half-way (a tag code that cannot be a barcode, a tag font size
// that is not a number) is found before anything is asked or printed, and reported here so
// that the rest of an after-sort run, and the writing of the list, go on.
std::optional<TagStyle> prepareTags(Notices& notices, const SortedMailing& mailing) {
    std::optional<std::string> problem;
    try {
        problem = FindUnprintableTagCode(mailing);
        if (!problem)
            return TagStyle::of(mailing);
    } catch (const std::exception& e) {
        problem = std::string("The tags cannot be printed: ") + e.what();
    }
    notices.tell({platform::BeepKind::Hand, platform::MessageKind::Error,
                  platform::MessageButtons::Ok, *problem});
    return std::nullopt;
}

} // namespace

void PrintTags(PrintRun& run, const SortedMailing& mailing) {
    PrintSession& session = run.session();
    bool afterSort = session.justSorted;
    if (afterSort && !session.askToPrint(TagCaption, AfterSortReport::Tags))
        return;
    std::optional<TagStyle> style = prepareTags(session.notices, mailing);
    if (!style || !confirmTagStock(session, afterSort))
        return;
    run.runCopies(jobTitle(mailing.mailClass()), [&] { printTagCopy(run, mailing, *style); });
}

} // namespace quillan
