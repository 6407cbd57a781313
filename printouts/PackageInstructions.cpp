#include "printouts/PackageInstructions.h"

#include "core/Convert.h"
#include "printouts/PackageDescription.h"

namespace quillan {

namespace {

const char* addressesOf(const SortedMailing& mailing, const SortedMailing::SortGroup& group) {
    if (!mailing.mailClass().isCoSacked())
        return " of addresses in ";
    return group.nonbarcoded ? " of nonbarcoded addresses in " : " of barcoded addresses in ";
}

} // namespace

PackageInstructionLines packageInstructionLines(const SortedMailing& mailing, int32_t g,
                                                ContainerListing listing) {
    SortedMailing::SortGroup group = mailing.sortGroup(g);
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

void PrintPackageInstructions(PageLayout& page, const SortedMailing& mailing, int32_t g,
                              ContainerListing listing) {
    PrintRun& run = page.run();
    if (page.penY() + page.y(72) > page.printer().pageHeight() && !run.nextPageOrStop("sort"))
        return;
    if (run.context().flags.stopPrinting || listing == ContainerListing::None)
        return;
    PackageInstructionLines lines = packageInstructionLines(mailing, g, listing);
    int y = page.penY();
    page.font(12);
    page.text(54, y, lines.what);
    y += page.y(18);
    page.font(10);
    page.text(72, y, lines.marking);
    y += page.y(12);
    page.text(72, y, lines.heading);
    page.moveTo(72, y + page.y(20));
}

} // namespace quillan
