#include "tests/reports/StatementPositions.h"

namespace quillan::test {

FormFamily familyOf(const std::string& name) {
    if (name == "3541a")
        return FormFamily::Periodicals;
    if (name.rfind("3600", 0) == 0)
        return FormFamily::FirstClass;
    if (name.back() == 's')
        return FormFamily::NonmachinableLetters;
    if (name.find('h') != std::string::npos)
        return FormFamily::HeavyLetters;
    return FormFamily::Standard;
}

std::vector<PlaceUse> placeUses(FormFamily family, bool permit) {
    std::vector<PlaceUse> uses = {
        {1, 0, 0, "ACME MAILING SERVICES"},
        {6, 0, 0, "DALLAS TX 75201"},
        {10, 0, 0, "12/08/2026"},
        {14, 0, 0, "124"},
        {16, 0, 0, "1"},
        {16, 123, 0, "6"},
        {23, 0, 0, "PAT MAILER"},
        {24, 0, 0, "(214) 555-0100"},
        {25, 0, 0, "Facsimile"},
        {26, 0, 0, "Quillan Windows Version 6.2.4 - Released 12/08/2026"},
    };
    if (family == FormFamily::Periodicals) {
        std::vector<PlaceUse> more = {
            {5, 0, 0, "x"},
            {5, 0, 7, "x", false},
            {5, 0, 15, "x", false},
            {5, 0, 22, "x", false},
            {6, 0, 12, "DALLAS"},
            {6, 0, 24, "TX"},
            {6, 0, 36, "75201"},
            {7, 0, 0, "1"},
            {7, 18, 0, "2"},
            {7, 41, 0, "5"},
            {7, 59, 0, "0"},
            {8, 0, 0, "THE COUNTY GAZETTE"},
            {9, 0, 0, "x"},
            {9, 0, 7, "x", false},
            {9, 0, 14, "x", false},
            {11, 0, 0, "0"},
            {11, 68, 0, "8"},
            {14, 0, 12, "sacks"},
            {14, -30, 11, "1-Ft MM trays: 3", false},
            {14, -30, 22, "2-Ft MM trays: 121", false},
        };
        uses.insert(uses.end(), more.begin(), more.end());
        return uses;
    }
    bool heavy = family == FormFamily::HeavyLetters;
    std::vector<PlaceUse> more = {
        {1, 0, 12, "100 MAIN STREET"},
        {1, 0, 24, "DALLAS TX 75201"},
        {2, 0, 0, "(214) 555-0100"},
        {9, 0, 0, "x"},
        {9, 0, 11, "x", false},
        {9, 0, 22, "x", false},
        {11, 0, 0, "2"},
        {11, 51, 0, "8"},
        {12, 0, 0, "12345"},
        {13, 0, 0, "2700.4"},
        {14, 0, 12, "sacks", false},
        {14, -30, 11, "1-Ft MM trays: 3", !heavy},
        {14, -30, 22, "2-Ft MM trays: 121", !heavy},
        {14, 0, 0, "1' MM: 3  2' MM: 121", heavy},
        {15, 0, 0, "x"},
        {15, 39, 0, "x", false},
        {17, 0, 0, "$1,234.57"},
    };
    uses[3].inSample = !heavy; // the number of containers
    uses.insert(uses.end(), more.begin(), more.end());
    if (permit) {
        uses.push_back({7, 0, 0, "1234"});
        return uses;
    }
    std::vector<PlaceUse> affixed = {
        {8, 0, 0, "x"},      {8, 0, 11, "x"},     {18, 0, 0, "x"},         {18, 50, 0, "x"},
        {19, 0, 0, "12345"}, {20, 0, 0, "0.208"}, {21, 0, 0, "$2,567.76"}, {22, 0, 0, "$0.00"},
    };
    uses.insert(uses.end(), affixed.begin(), affixed.end());
    return uses;
}

namespace {

void pageOneTotals(std::vector<FixedText>& out, std::initializer_list<double> ys) {
    for (double y : ys)
        out.push_back({1, -1, y, false, "$1,234.5678"});
}

void sectionTotal(std::vector<FixedText>& out, double amountX, double y) {
    out.push_back({2, amountX, y, true, "1,234.5678"});
}

void periodicalPositions(std::vector<FixedText>& out) {
    // The zone table of page 1.
    std::vector<double> rows = {586, 597, 608, 619.5, 631, 642.5, 654, 665.5, 677, 688, 701};
    for (double y : rows) {
        out.push_back({1, 282, y, true, "1234"});
        out.push_back({1, 328, y, true, "567"});
        out.push_back({1, 378, y, true, "56"});
        out.push_back({1, 478, y, true, "$12."});
        out.push_back({1, 481, y, false, "3456"});
    }
    out.push_back({1, 547, 715, true, "$1,234."});
    out.push_back({1, 554, 715, false, "5678"});
    // The charges of page 1.
    for (double y : {280.0, 309.0, 338.0})
        out.push_back({1, 578, y, true, "$12,345.6789"});
    // The fixed lines of page 2.
    std::vector<FixedText> page2 = {
        {2, 180, 228, true, "95.00"},       {2, 432, 228, true, "$123.4567"},
        {2, 217, 251, true, "1234"},        {2, 432, 251, true, "$12.3456"},
        {2, 217, 263, true, "1234"},        {2, 432, 263, true, "$12.3456"},
        {2, 490, 298, true, "$123.4567"},   {2, 561, 318, true, "$1,234.5678"},
        {2, 561, 336, true, "$1,234.5678"}, {2, 166, 356, false, "$1,234.5678"},
        {2, 490, 356, true, "$61.7284"},    {2, 561, 376, true, "$1,234.5678"},
        {2, 306, 455, true, "1234"},        {2, 561, 478, true, "$12.3456"},
        {2, 561, 668, true, "$123.4567"},   {2, 561, 688, true, "$135.8023"},
    };
    out.insert(out.end(), page2.begin(), page2.end());
}

} // namespace

std::vector<FixedText> fixedTexts(FormFamily family, bool permit, bool nonprofit) {
    std::vector<FixedText> out;
    bool regularPermit = permit && !nonprofit;
    switch (family) {
    case FormFamily::Standard:
        pageOneTotals(out, {regularPermit ? 362.0 : 342.0, regularPermit ? 315.0 : 307.0, 293,
                            regularPermit ? 293.0 : 289.0});
        sectionTotal(out, 284, permit ? 330 : 322);
        sectionTotal(out, 284, permit ? 330 : 324);
        sectionTotal(out, 569, permit ? 234 : 299);
        sectionTotal(out, 569, permit ? 234 : 296);
        sectionTotal(out, 569, 708);
        break;
    case FormFamily::NonmachinableLetters:
        pageOneTotals(out, {!nonprofit ? 289.0 : permit ? 296.0 : 269.0});
        sectionTotal(out, 284, permit ? 253 : 240);
        break;
    case FormFamily::HeavyLetters:
        pageOneTotals(out, {271});
        sectionTotal(out, 290, 474);
        break;
    case FormFamily::FirstClass:
        pageOneTotals(out, {281, 331});
        sectionTotal(out, 287, 363);
        sectionTotal(out, 572, 709);
        break;
    case FormFamily::Periodicals:
        periodicalPositions(out);
        break;
    }
    return out;
}

std::vector<char> sectionsOf(FormFamily family) {
    switch (family) {
    case FormFamily::Standard:
        return {'A', 'B', 'D'};
    case FormFamily::NonmachinableLetters:
        return {'E'};
    case FormFamily::HeavyLetters:
        return {'J'};
    case FormFamily::FirstClass:
        return {'F', 'G'};
    case FormFamily::Periodicals:
        return {'P'};
    }
    return {};
}

} // namespace quillan::test
