#include "printouts/MailPrepInstructions.h"

#include "core/Convert.h"
#include "printouts/ContainerBlock.h"
#include "printouts/PackageInstructions.h"
#include "printouts/PageLayout.h"
#include "printouts/RejectedZipList.h"
#include "printouts/ReportSummary.h"
#include "printouts/SummaryPostage.h"

#include <optional>

namespace quillan {

namespace {

const char* headingOf(MailClass mailClass) {
    if (mailClass.isFlats())
        return "Specific Sacking and Packaging Instructions for this Mailing:";
    if (mailClass.isPackagedLetters())
        return "Specific Traying and Packaging Instructions for this Mailing:";
    return "Specific Traying and Grouping Instructions for this Mailing:";
}

// One copy of the report.
class InstructionsCopy {
public:
    InstructionsCopy(PrintRun& run, const SortedMailing& mailing, MailPrepReport report,
                     const SummaryPostage* postage, const TagStyle* style)
        : run_(run), page_(run), session_(run.session()), mailing_(mailing), report_(report),
          postage_(postage), style_(style) {}

    void print();

private:
    bool stopped() const { return run_.stopped(); }
    void printContainers();
    void printContainer(size_t k);
    void printZipLine(int32_t z);
    void endZipRow();

    PrintRun& run_;
    PageLayout page_;
    PrintSession& session_;
    const SortedMailing& mailing_;
    MailPrepReport report_;
    const SummaryPostage* postage_;
    const TagStyle* style_;
    int zipColumn_ = 1;
};

void InstructionsCopy::print() {
    int32_t& runPage = session_.runPageNumber;
    runPage = session_.justSorted ? runPage + 1 : 1;
    run_.reportPageNumber = 1;
    run_.printer().moveTo(0, 0);
    bool instructions = report_ == MailPrepReport::Instructions;
    run_.mailPrepMode = instructions;
    if (instructions) {
        // The summary counts its own pages: one, two for Periodicals, one more where its
        // computation runs onto the next page.
        PrintInstructionsSummary(page_, mailing_, *postage_);
        printContainers();
    } else {
        PrintVerificationSummary(page_);
    }
    if (!stopped() && (!instructions || mailing_.preferences().printsRejectListing()))
        PrintRejectedZips(page_, mailing_);
}

void InstructionsCopy::printContainers() {
    if (stopped())
        return;
    int32_t runPage = session_.runPageNumber;
    run_.pageInRange = run_.fromPage() < runPage;
    run_.nextPageOrStop("sort");
    int y = page_.penY();
    page_.font(12, true);
    page_.text(36, y, headingOf(mailing_.mailClass()));
    page_.font(12);
    run_.printer().moveTo(0, y + page_.y(28));
    for (size_t k = 0; k < mailing_.containers().size() && !stopped(); ++k)
        printContainer(k);
}

void InstructionsCopy::printContainer(size_t k) {
    ContainerListing listing =
        PrintContainerBlock(run_, mailing_, *style_, k, ContainerBlockMode::Instructions);
    zipColumn_ = 1;
    const std::vector<int32_t>& groups = mailing_.sortGroupsIn(k);
    for (size_t i = 0; i < groups.size() && !stopped(); ++i) {
        int32_t g = groups[i];
        PrintPackageInstructions(page_, mailing_, static_cast<size_t>(g), listing);
        if (listing != ContainerListing::None)
            zipColumn_ = 1;
        for (int32_t z : mailing_.zipGroupsOf(static_cast<size_t>(g))) {
            if (stopped())
                break;
            printZipLine(z);
        }
        // Bare ZIP lines of the groups of a tray run on in the same rows; below the last
        // of them the next tray begins.
        if (listing != ContainerListing::None || i + 1 == groups.size()) {
            int below = page_.y(zipColumn_ == 1 ? 6 : 20);
            run_.printer().moveTo(run_.printer().penPosition().x, page_.penY() + below);
        }
    }
}

// One ZIP code and its pieces, four to a row across the page.
void InstructionsCopy::printZipLine(int32_t z) {
    const ZipGroup& group = mailing_.zipGroups().at(static_cast<size_t>(z));
    std::string text = zeroPad(group.zip < 0 ? -int64_t{group.zip} : group.zip, 5) + "  " +
                       intToStr(group.pieces) + " piece" + (group.pieces >= 2 ? "s" : "");
    int left = page_.x(72);
    int columnWidth = (run_.printer().pageWidth() - left) / 4;
    page_.font(12);
    page_.textAtDots(left + (zipColumn_ - 1) * columnWidth, page_.penY(), text);
    if (++zipColumn_ > 4)
        endZipRow();
}

// A full row: the next one goes below it, or on the next page when the page is full.
void InstructionsCopy::endZipRow() {
    if (page_.penY() + page_.y(36) > run_.printer().pageHeight())
        run_.nextPageOrStop("sort");
    zipColumn_ = 1;
    run_.printer().moveTo(0, page_.penY() + page_.y(14));
}

} // namespace

void PrintMailPrepInstructions(PrintRun& run, const SortedMailing& mailing, MailPrepReport report) {
    bool instructions = report == MailPrepReport::Instructions;
    bool chosen = instructions
                      ? run.session().askToPrint("Ready to print mail preparation instructions.",
                                                 AfterSortReport::Instructions)
                      : run.job().askToPrint("Ready to print verification report.", std::nullopt);
    if (!chosen)
        return;
    std::optional<SummaryPostage> postage;
    std::optional<TagStyle> style;
    if (instructions) {
        postage = computeSummaryPostage(mailing);
        style = TagStyle::of(mailing);
    }
    const char* title =
        instructions ? "Quillan Mail Prep Instructions" : "Quillan Verification Report";
    run.runCopies(title, [&] {
        InstructionsCopy(run, mailing, report, postage ? &*postage : nullptr,
                         style ? &*style : nullptr)
            .print();
    });
}

} // namespace quillan
