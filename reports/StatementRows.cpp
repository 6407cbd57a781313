#include "reports/StatementRows.h"

#include <array>

namespace quillan {

namespace {

enum class Payment { Any, Permit, Affixed };
using C = MailClass;

// `count` lines from firstLine on, every lineStep-th, into rows from firstRow on, every
// rowStep-th.
struct PlacementRun {
    int block;
    Payment payment;
    C::Code mailClass; // None: any class of the block
    char section;
    size_t firstLine;
    size_t lineStep;
    int firstRow;
    int rowStep;
    int count;
};

constexpr auto P = Payment::Permit;
constexpr auto F = Payment::Affixed; // meter or stamps
constexpr auto A = Payment::Any;

const std::array placementRuns = {
    // Pieces over 3.3 oz: presorted letters and flats.
    PlacementRun{1, P, C::None, 'D', 0, 1, 11, 1, 4},
    PlacementRun{1, P, C::None, 'D', 4, 1, 25, 1, 4},
    PlacementRun{1, P, C::None, 'D', 8, 1, 39, 1, 4},
    PlacementRun{1, F, C::None, 'D', 1, 2, 6, 1, 2},
    PlacementRun{1, F, C::None, 'D', 5, 2, 13, 1, 2},
    PlacementRun{1, F, C::None, 'D', 9, 2, 20, 1, 2},
    // Automation letters over 3.3 oz.
    PlacementRun{2, P, C::None, 'J', 0, 1, 1, 1, 22},
    PlacementRun{2, F, C::None, 'J', 1, 2, 1, 1, 11},
    // Automation flats over 3.3 oz.
    PlacementRun{3, P, C::None, 'D', 0, 1, 7, 1, 4},
    PlacementRun{3, P, C::None, 'D', 4, 1, 21, 1, 4},
    PlacementRun{3, P, C::None, 'D', 8, 1, 35, 1, 4},
    PlacementRun{3, F, C::None, 'D', 1, 2, 4, 1, 2},
    PlacementRun{3, F, C::None, 'D', 5, 2, 11, 1, 2},
    PlacementRun{3, F, C::None, 'D', 9, 2, 18, 1, 2},
    // Co-sacked flats over 3.3 oz: automation and presorted pairs of each entry discount.
    PlacementRun{4, P, C::None, 'D', 0, 1, 7, 1, 8},
    PlacementRun{4, P, C::None, 'D', 8, 1, 21, 1, 8},
    PlacementRun{4, P, C::None, 'D', 16, 1, 35, 1, 8},
    PlacementRun{4, F, C::None, 'D', 1, 2, 4, 1, 4},
    PlacementRun{4, F, C::None, 'D', 9, 2, 11, 1, 4},
    PlacementRun{4, F, C::None, 'D', 17, 2, 18, 1, 4},
    // First-Class cards and letters.
    PlacementRun{5, A, C::None, 'G', 0, 1, 2, 1, 4},
    PlacementRun{6, A, C::None, 'F', 0, 1, 2, 1, 4},
    // Nonmachinable letters.
    PlacementRun{7, A, C::None, 'E', 0, 1, 1, 1, 6},
    // Machinable letters and presorted flats share section B, two rows each per entry.
    PlacementRun{8, A, C::None, 'B', 0, 1, 1, 1, 2},
    PlacementRun{8, A, C::None, 'B', 2, 1, 5, 1, 2},
    PlacementRun{8, A, C::None, 'B', 4, 1, 9, 1, 2},
    PlacementRun{9, A, C::None, 'B', 0, 1, 3, 1, 2},
    PlacementRun{9, A, C::None, 'B', 2, 1, 7, 1, 2},
    PlacementRun{9, A, C::None, 'B', 4, 1, 11, 1, 2},
    // Automation letters and flats share section A.
    PlacementRun{10, A, C::None, 'A', 0, 1, 1, 1, 4},
    PlacementRun{10, A, C::None, 'A', 4, 1, 7, 1, 4},
    PlacementRun{10, A, C::None, 'A', 8, 1, 13, 1, 3},
    PlacementRun{11, A, C::None, 'A', 0, 1, 5, 1, 2},
    PlacementRun{11, A, C::None, 'A', 2, 1, 11, 1, 2},
    PlacementRun{11, A, C::None, 'A', 4, 1, 16, 1, 2},
    // Co-sacked flats: the automation lines in A, the presorted ones in B.
    PlacementRun{12, A, C::None, 'A', 0, 1, 5, 1, 2},
    PlacementRun{12, A, C::None, 'A', 2, 1, 11, 1, 2},
    PlacementRun{12, A, C::None, 'A', 4, 1, 16, 1, 2},
    PlacementRun{12, A, C::None, 'B', 6, 1, 3, 1, 2},
    PlacementRun{12, A, C::None, 'B', 8, 1, 7, 1, 2},
    PlacementRun{12, A, C::None, 'B', 10, 1, 11, 1, 2},
    // Periodicals: the piece lines by level (Basic, 3-Digit, 5-Digit rows three apart, one
    // row per kind), the piece subtotal, the in-county pounds, the in-county piece lines
    // and their total.
    PlacementRun{13, A, C::PNAL, 'P', 0, 1, 21, 3, 3},
    PlacementRun{13, A, C::PNAF, 'P', 0, 1, 21, 3, 3},
    PlacementRun{13, A, C::PAL, 'P', 0, 1, 22, 3, 3},
    PlacementRun{13, A, C::PAF, 'P', 0, 1, 23, 3, 3},
    PlacementRun{13, A, C::PCOF, 'P', 0, 2, 21, 3, 3},
    PlacementRun{13, A, C::PCOF, 'P', 1, 2, 23, 3, 3},
    PlacementRun{13, A, C::None, 'P', 6, 1, 33, 0, 1},
    PlacementRun{13, A, C::None, 'P', 17, 1, 52, 0, 1},
    PlacementRun{13, A, C::PNAL, 'P', 18, 1, 56, 3, 3},
    PlacementRun{13, A, C::PNAF, 'P', 18, 1, 56, 3, 3},
    PlacementRun{13, A, C::PAL, 'P', 18, 1, 57, 3, 3},
    PlacementRun{13, A, C::PAF, 'P', 18, 1, 58, 3, 3},
    PlacementRun{13, A, C::PCOF, 'P', 18, 1, 58, 3, 3},
    PlacementRun{13, A, C::PCOF, 'P', 21, 1, 56, 3, 3},
    PlacementRun{13, A, C::None, 'P', 24, 1, 68, 0, 1},
};

bool applies(const PlacementRun& run, int block, MailClass mailClass, bool permitImprint) {
    if (run.block != block)
        return false;
    if (run.payment == Payment::Permit && !permitImprint)
        return false;
    if (run.payment == Payment::Affixed && permitImprint)
        return false;
    return run.mailClass == C::None || run.mailClass == mailClass.value();
}

// Section totals: the y with permit imprint and with postage affixed.
struct TotalRow {
    int block;
    char section;
    double permitY;
    double affixedY;
    SectionTotal::Part part;
};

const std::array totalRows = {
    TotalRow{1, 'D', 708, 708, SectionTotal::Whole},
    TotalRow{2, 'J', 474, 474, SectionTotal::Whole},
    TotalRow{3, 'D', 708, 708, SectionTotal::Whole},
    TotalRow{4, 'D', 708, 708, SectionTotal::Whole},
    TotalRow{5, 'G', 709, 709, SectionTotal::Whole},
    TotalRow{6, 'F', 363, 363, SectionTotal::Whole},
    TotalRow{7, 'E', 253, 240, SectionTotal::Whole},
    TotalRow{8, 'B', 234, 299, SectionTotal::Whole},
    TotalRow{9, 'B', 234, 299, SectionTotal::Whole},
    TotalRow{10, 'A', 330, 322, SectionTotal::Whole},
    TotalRow{11, 'A', 330, 322, SectionTotal::Whole},
    TotalRow{12, 'A', 330, 324, SectionTotal::Automation},
    TotalRow{12, 'B', 234, 296, SectionTotal::Rest},
};

} // namespace

std::vector<LinePlacement> statementLinePlacements(int block, MailClass mailClass,
                                                   bool permitImprint) {
    std::vector<LinePlacement> placements;
    for (const PlacementRun& run : placementRuns) {
        if (!applies(run, block, mailClass, permitImprint))
            continue;
        for (int i = 0; i < run.count; ++i)
            placements.push_back({run.firstLine + static_cast<size_t>(i) * run.lineStep,
                                  run.section, run.firstRow + i * run.rowStep});
    }
    return placements;
}

std::vector<SectionTotal> statementSectionTotals(int block, bool permitImprint) {
    std::vector<SectionTotal> totals;
    for (const TotalRow& row : totalRows)
        if (row.block == block)
            totals.push_back({row.section, permitImprint ? row.permitY : row.affixedY, row.part});
    return totals;
}

} // namespace quillan
