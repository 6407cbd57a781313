#include "printouts/RejectedZipList.h"

#include "core/Convert.h"

namespace quillan {

namespace {

const char* problemText(ZipRejection rejection) {
    switch (rejection) {
    case ZipRejection::Form:
        return "Zip code has too few or too many digits.";
    case ZipRejection::NotServed:
        return "There is no post office with this zip code.";
    case ZipRejection::Zip4Missing:
        return "Automation mailings require all 9 digits.";
    case ZipRejection::None:
        break;
    }
    return "";
}

// Room for what follows the pen, or the next page; false once printing has stopped.
bool roomFor(PageLayout& page, long double points) {
    if (page.penY() + page.y(points) > page.printer().pageHeight())
        return page.run().nextPageOrStop("sort");
    return !page.run().stopped();
}

int printHeads(PageLayout& page) {
    int y = page.penY() + page.y(12);
    page.text(36, y, "Rejected Zip Codes:");
    y += page.y(28);
    page.font(12);
    page.text(49, y, "Zip Code");
    page.text(148, y, "Record#");
    page.text(202, y, "In This Mailing?");
    page.text(292, y, "Problem");
    y += page.y(20);
    page.rule(y);
    return y + page.y(14);
}

} // namespace

RejectedZipRow rejectedZipRow(const Piece& piece) {
    std::string zip =
        piece.rejection == ZipRejection::Form ? intToStr(piece.zip) : zeroPad(piece.zip, 5);
    return {zip, piece.rejected() ? "rejected" : "included", problemText(piece.rejection)};
}

void PrintRejectedZips(PageLayout& page, const SortedMailing& mailing) {
    page.font(12, true);
    if (!roomFor(page, 90))
        return;
    int y = printHeads(page);
    page.moveTo(36, y);
    bool any = false;
    for (size_t r = 0; r < mailing.pieces().size(); ++r) {
        const Piece& piece = mailing.pieces()[r];
        if (!piece.rejected())
            continue;
        any = true;
        if (!roomFor(page, 28))
            return;
        y = page.penY();
        RejectedZipRow row = rejectedZipRow(piece);
        page.font(12);
        page.text(58, y, row.zip);
        page.textEndingAt(184, y, intToStr(static_cast<int64_t>(r) + 1));
        page.text(220, y, row.inMailing);
        page.text(292, y, row.problem);
        y += page.y(14);
        page.moveTo(36, y);
    }
    if (!any)
        page.text(72, y, "No problems were noted.");
}

} // namespace quillan
