#include "printouts/PostalListPrintout.h"

#include "core/PostalCharts.h"
#include "core/ShortDate.h"
#include "core/ZipRanges.h"

#include <algorithm>
#include <stdexcept>

namespace quillan {

namespace {

const char* const NoZipsText = "No Zips Shown For This Label";
const char* const BlankLabelText = "Blank Label";

// One copy of a postal list: a first page with a centred bold title, then one block per
// label, each later page under the report's running header.
class PostalListCopy {
public:
    PostalListCopy(PrintRun& run, const PostalLists& lists, const PostalList& list)
        : run_(run), session_(run.session()), list_(list), title_(postalListTitle(list.number)),
          labels_(lists.*list.labels), chart_(lists.*list.chart) {}

    void print();

private:
    platform::PrinterDevice& printer() { return run_.printer(); }
    void drawText(int x, int y, const std::string& text) {
        if (run_.drawing())
            printer().textOut(x, y, text);
    }
    int rightEdge() { return printer().pageWidth() - run_.dotsX(36); }

    void printFirstHeader();
    bool makeRoomForLabel();
    void printLabel(int32_t number);
    std::vector<std::string> rangeLines(const std::string& ranges);
    EntryLines labelLines(int32_t number, const ZipRangeText& ranges) const;

    PrintRun& run_;
    PrintSession& session_;
    const PostalList& list_;
    const std::string& title_;
    const SettingsList& labels_;
    const SettingsList& chart_;
};

void PostalListCopy::print() {
    run_.job().showPrintingPage(1);
    session_.runPageNumber = 1;
    run_.reportPageNumber = 1;
    session_.stopPrinting = false;
    run_.pageInRange = run_.fromPage() < 2;
    printFirstHeader();
    for (int32_t number = 1; number < labels_.count() && !run_.stopped(); ++number) {
        if (!makeRoomForLabel())
            break;
        printLabel(number);
    }
}

void PostalListCopy::printFirstHeader() {
    run_.setFontStyle(true, false);
    std::string header = title_ + " - " + todayShortDate();
    drawText((printer().pageWidth() - printer().textWidth(header)) / 2, run_.dotsY(36), header);
    run_.setFontStyle(false, false);
    run_.setFontSize(10);
    printer().moveTo(0, run_.dotsY(72));
}

// A label that would start too near the sheet's foot goes on a new page, or ends the
// printout when the To page is printed.
bool PostalListCopy::makeRoomForLabel() {
    if (printer().penPosition().y + run_.dotsY(24) <= printer().pageHeight())
        return true;
    return run_.nextPageOrStop(title_);
}

// Ranges wider than half the line wrap at their commas into as many lines as their width
// needs.
std::vector<std::string> PostalListCopy::rangeLines(const std::string& ranges) {
    int halfWidth = rightEdge() / 2;
    int width = printer().textWidth(ranges);
    if (width <= halfWidth || halfWidth <= 0)
        return {ranges};
    return splitRangeText(ranges, width / halfWidth + 1);
}

EntryLines PostalListCopy::labelLines(int32_t number, const ZipRangeText& ranges) const {
    std::string text = labelText(labels_, number);
    if (text.empty())
        text = BlankLabelText;
    if (list_.number == 3)
        text = "SCF " + text;
    EntryLines lines = splitEntry(text);
    if (list_.number == 1)
        return {lines.line1, ranges.marked, ""};
    return lines;
}

void PostalListCopy::printLabel(int32_t number) {
    ZipRangeText ranges = zipRangesForLabel(chart_, number);
    std::vector<std::string> lines = rangeLines(ranges.ranges.empty() ? NoZipsText : ranges.ranges);
    int y = printer().penPosition().y;
    int lineStep = run_.dotsY(12);
    for (size_t i = 0; i < lines.size(); ++i)
        drawText(run_.dotsX(36), y + static_cast<int>(i) * lineStep, lines[i]);

    EntryLines label = labelLines(number, ranges);
    int right = rightEdge();
    drawText(right - printer().textWidth(label.line1), y, label.line1);
    if (!label.line2.empty())
        drawText(right / 2, y, label.line2);
    if (!label.line3.empty())
        drawText(right - printer().textWidth(label.line3), y + lineStep, label.line3);

    y += static_cast<int>(lines.size() - 1) * lineStep;
    if (!label.line3.empty())
        y += lineStep;
    printer().moveTo(run_.dotsX(36), y + run_.dotsY(24));
}

} // namespace

const std::string& postalListTitle(int number) {
    static const std::vector<std::string> titles = {
        "Three-Digit Labels (Unique Cities Shown in Center Columns)",
        "Three-Digit Scheme Labels",
        "Sectional Center Facilities Labels",
        "Area Distribution Center Labels - Standard",
        "Area Distribution Center Labels - Periodicals",
        "Automated Area Distribution Center Labels - Standard",
        "Automated Area Distribution Center Labels - First Class",
        "Destination Bulk Mail Centers",
        "BMC/ASF Entry Labels",
        "Non-BMC/ASF Entry Labels - Standard",
        "Non-BMC/ASF Entry Labels - Periodicals",
        "Periodical Zones",
    };
    if (number < 1 || number > static_cast<int>(titles.size()))
        throw std::out_of_range("postal list " + std::to_string(number));
    return titles[static_cast<size_t>(number - 1)];
}

std::vector<std::string> splitRangeText(const std::string& text, int lineCount) {
    std::vector<std::string> lines;
    size_t start = 0;
    const size_t length = text.size();
    for (int share = 1; share < lineCount && start < length; ++share) {
        // The share's last character, counted from 1, is where the search for a comma starts.
        size_t shareEnd = static_cast<size_t>(share) * length / static_cast<size_t>(lineCount);
        size_t comma = text.find(',', std::max(start, shareEnd > 0 ? shareEnd - 1 : 0));
        if (comma == std::string::npos)
            break;
        size_t end = comma + 1;
        if (end < length && text[end] == ' ')
            ++end;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    if (start < length || lines.empty())
        lines.push_back(text.substr(start));
    return lines;
}

void PrintPostalLists(PrintRun& run, const PostalLists& lists, int number) {
    const PostalList& list = postalList(number);
    if (!run.job().askToPrint("Ready to print postal sorting lists.", std::nullopt))
        return;
    run.mailPrepMode = false;
    // Named after its list, so that twelve printouts of one day are told apart.
    run.runCopies("Quillan " + std::string(list.menuEntry),
                  [&] { PostalListCopy(run, lists, list).print(); });
}

} // namespace quillan
