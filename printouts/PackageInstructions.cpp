#include "printouts/PackageInstructions.h"

#include "core/Convert.h"
#include "printouts/PackageDescription.h"
#include "reports/TextFitting.h"

#include <vector>

namespace quillan {

namespace {

const char* addressesOf(const SortedMailing& mailing, const SortGroup& group) {
    if (!mailing.mailClass().isCoSacked())
        return " of addresses in ";
    return group.nonbarcoded ? " of nonbarcoded addresses in " : " of barcoded addresses in ";
}

} // namespace

PackageInstructionLines packageInstructionLines(const SortedMailing& mailing, size_t g,
                                                ContainerListing listing) {
    const SortGroup& group = mailing.sortGroups().at(g);
    PackageDescription package = DescribePackage(mailing, g);
    std::string kind = listing == ContainerListing::Group ? "group" : "package";
    PackageInstructionLines lines;
    lines.what = package.description + " " + kind + addressesOf(mailing, group) +
                 package.destination + ", totaling " + intToStr(group.pieces) + " piece" +
                 (group.pieces >= 2 ? "s" : "") + ".";
    if (mailing.mailClass().isTraysOnlyLetters())
        lines.marking = "No sticker or endorsement line is required.";
    else
        lines.marking = "Label this " + kind + " with " + package.sticker +
                        " sticker, or use ******" + package.endorsement +
                        " as the first line of each address.";
    lines.heading = "This " + kind + " should contain pieces for each of the following zip codes:";
    return lines;
}

namespace {

// A sentence of the instructions as the lines it takes at its indent: broken at its blanks
// where it would pass the right margin, each line starting at the same indent.
struct SentenceLines {
    std::vector<std::string> lines;
    long double indent;
    int size;
    long double lineStep; // from one line of the sentence to the next
};

SentenceLines sentenceLines(PageLayout& page, const std::string& text, long double indent, int size,
                            long double lineStep) {
    page.font(size);
    platform::PrinterDevice& printer = page.printer();
    int width = printer.pageWidth() - page.x(36) - page.x(indent);
    return {wrapText(text, width, [&](const std::string& t) { return printer.textWidth(t); }),
            indent, size, lineStep};
}

// Draws the lines from y; returns the y of the last one.
int drawSentence(PageLayout& page, const SentenceLines& sentence, int y) {
    page.font(sentence.size);
    for (size_t i = 0; i < sentence.lines.size(); ++i) {
        if (i > 0)
            y += page.y(sentence.lineStep);
        page.text(sentence.indent, y, sentence.lines[i]);
    }
    return y;
}

long double continuedHeight(const SentenceLines& sentence) {
    return sentence.lineStep * static_cast<long double>(sentence.lines.size() - 1);
}

} // namespace

void PrintPackageInstructions(PageLayout& page, const SortedMailing& mailing, size_t g,
                              ContainerListing listing) {
    PrintRun& run = page.run();
    bool listed = listing != ContainerListing::None;
    std::vector<SentenceLines> sentences;
    long double continued = 0;
    if (listed) {
        PackageInstructionLines lines = packageInstructionLines(mailing, g, listing);
        sentences = {sentenceLines(page, lines.what, 54, 12, 14),
                     sentenceLines(page, lines.marking, 72, 10, 12),
                     sentenceLines(page, lines.heading, 72, 10, 12)};
        for (const SentenceLines& sentence : sentences)
            continued += continuedHeight(sentence);
    }
    if (page.penY() + page.y(72 + continued) > page.printer().pageHeight() &&
        !run.nextPageOrStop("sort"))
        return;
    if (run.stopped() || !listed)
        return;
    int y = drawSentence(page, sentences[0], page.penY());
    y = drawSentence(page, sentences[1], y + page.y(18));
    y = drawSentence(page, sentences[2], y + page.y(12));
    page.moveTo(72, y + page.y(20));
}

} // namespace quillan
