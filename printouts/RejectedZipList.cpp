#include "printouts/RejectedZipList.h"

#include "core/Convert.h"

#include <cstdlib>

namespace quillan {

namespace {

const char* problemText(int64_t code) {
    switch (code) {
    case 2:
        return "Zip code has too few or too many digits.";
    case 6:
        return "There is no post office with this zip code.";
    case 7:
        return "Automation mailings require all 9 digits.";
    default:
        return "";
    }
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

RejectedZipRow rejectedZipRow(int32_t zipValue) {
    int64_t magnitude = std::llabs(static_cast<long long>(zipValue));
    int64_t code = magnitude / 100000;
    std::string zip = intToStr(magnitude % 100000);
    if (code != 2)
        zip = zeroPad(magnitude % 100000, 5);
    return {zip, zipValue <= 0 ? "rejected" : "included", problemText(code)};
}

void PrintRejectedZips(PageLayout& page, const SortedMailing& mailing) {
    page.font(12, true);
    if (!roomFor(page, 90))
        return;
    int y = printHeads(page);
    page.moveTo(36, y);
    for (const SortedMailing::RejectedRecord& record : mailing.rejectedRecords()) {
        if (!roomFor(page, 28))
            return;
        y = page.penY();
        RejectedZipRow row = rejectedZipRow(record.zipValue);
        page.font(12);
        page.text(58, y, row.zip);
        page.textEndingAt(184, y, intToStr(record.record));
        page.text(220, y, row.inMailing);
        page.text(292, y, row.problem);
        y += page.y(14);
        page.moveTo(36, y);
    }
    if (mailing.rejectedRecords().empty())
        page.text(72, y, "No problems were noted.");
}

} // namespace quillan
