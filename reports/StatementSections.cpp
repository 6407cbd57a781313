#include "reports/StatementSections.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>

namespace quillan {

namespace {

enum Payments : unsigned {
    Permit = 1,
    AffixedRegular = 2,
    AffixedNonprofit = 4,
    Affixed = AffixedRegular | AffixedNonprofit,
    Any = Permit | Affixed,
};

// Consecutive rows of a section from firstRow on, at the heights given.
struct RowRun {
    char section;
    unsigned payments;
    int firstRow;
    std::initializer_list<int> ys;
};

const std::array<RowRun, 23> rowRuns = {{
    {'A',
     Permit,
     1,
     {104, 116, 127, 139, 150, 162, 175, 187, 198, 210, 221, 233, 246, 258, 269, 281, 292}},
    {'A',
     AffixedRegular,
     1,
     {112, 123, 135, 146, 158, 169, 183, 194, 206, 217, 229, 240, 254, 265, 277, 288, 300}},
    {'A',
     AffixedNonprofit,
     1,
     {101, 112, 123, 135, 146, 158, 172, 183, 194, 206, 217, 229, 243, 254, 265, 277, 288}},
    {'B', Permit, 1, {106, 115, 124, 133, 146, 155, 164, 173, 186, 195, 204, 213}},
    {'B', AffixedRegular, 1, {110, 122, 134, 146, 163, 175, 187, 199, 215, 227, 239, 251}},
    {'B', AffixedNonprofit, 1, {99, 110, 122, 134, 152, 163, 175, 187, 203, 215, 227, 239}},
    {'D', Permit, 7, {320, 328, 337, 345, 354, 362, 371, 379}},
    {'D', Permit, 21, {445, 453, 462, 470, 479, 487, 496, 504}},
    {'D', Permit, 35, {570, 578, 587, 595, 604, 612, 621, 629}},
    {'D', Affixed, 4, {414, 425, 436, 447}},
    {'D', Affixed, 11, {499, 510, 521, 532}},
    {'D', Affixed, 18, {583, 594, 605, 616}},
    {'E', Permit, 1, {106, 118, 135, 147, 164, 176}},
    {'E', Affixed, 1, {104, 116, 133, 145, 161, 171}},
    {'F', Any, 2, {132, 155, 178, 201}},
    {'G', Any, 2, {439, 461, 484, 507}},
    {'J', Permit, 1, {125, 134, 143, 152, 160, 169, 178, 187, 203, 212, 221,
                      228, 238, 247, 256, 265, 281, 291, 300, 309, 317, 326}},
    {'J', Affixed, 1, {130, 147, 164, 181, 210, 227, 244, 261, 290, 307, 324}},
    {'P', Any, 21, {79, 91, 103, 114, 126, 138, 149, 161, 173}},
    {'P', Any, 33, {217}},
    {'P', Any, 52, {455}},
    {'P', Any, 56, {503, 515, 527, 538, 550, 562, 573, 585, 597}},
    {'P', Any, 68, {642}},
}};

unsigned bit(StatementPayment payment) {
    switch (payment) {
    case StatementPayment::Permit:
        return Permit;
    case StatementPayment::AffixedRegular:
        return AffixedRegular;
    case StatementPayment::AffixedNonprofit:
        return AffixedNonprofit;
    }
    return 0;
}

template <typename Visit>
void forEachRow(char section, StatementPayment payment, Visit visit) {
    for (const RowRun& run : rowRuns) {
        if (run.section != section || !(run.payments & bit(payment)))
            continue;
        int row = run.firstRow;
        for (int y : run.ys)
            visit(row++, y);
    }
}

} // namespace

std::optional<SectionColumns> statementSectionColumns(char section) {
    switch (section) {
    case 'A':
        return SectionColumns{212, 284, 0};
    case 'B':
        return SectionColumns{492, 569, 0};
    case 'D':
        return SectionColumns{492, 569, 444};
    case 'E':
        return SectionColumns{194, 284, 0};
    case 'F':
        return SectionColumns{202, 287, 145};
    case 'G':
        return SectionColumns{479, 572, 0};
    case 'J':
        return SectionColumns{216, 290, 159};
    case 'P':
        return SectionColumns{378, 490, 0};
    default:
        return std::nullopt;
    }
}

int statementSectionRowY(char section, int row, StatementPayment payment) {
    int found = 0;
    forEachRow(section, payment, [&](int r, int y) {
        if (r == row)
            found = y;
    });
    return found;
}

int statementSectionRowSize(char section, int row, StatementPayment payment) {
    // A line of the statement's face takes 1.12 of its size from the top of its tallest
    // letters to the bottom of its lowest.
    constexpr double LineHeight = 1.12;
    constexpr int RowSize = 8;
    int y = statementSectionRowY(section, row, payment);
    int pitch = 0;
    forEachRow(section, payment, [&](int r, int other) {
        int apart = std::abs(other - y);
        if (r != row && apart > 0 && (pitch == 0 || apart < pitch))
            pitch = apart;
    });
    if (pitch == 0)
        return RowSize;
    return std::min(RowSize, static_cast<int>(pitch / LineHeight));
}

std::vector<int> statementSectionRows(char section, StatementPayment payment) {
    std::vector<int> rows;
    forEachRow(section, payment, [&](int r, int) { rows.push_back(r); });
    return rows;
}

} // namespace quillan
