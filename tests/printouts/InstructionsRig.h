#pragma once

#include "core/SortedMailing.h"
#include "tests/printouts/TagRig.h"

#include <optional>
#include <string>
#include <vector>

namespace quillan::test {

// A text the printer was given, with the sheet it went on (1 for the document's first).
struct DrawnText {
    int sheet;
    int x, y;
    std::string text;
};

// Mailings presorted over the test geography (or built row by row), printed through the
// mail preparation instructions on a 72 dpi recording printer, so that a device unit is a
// point.
class InstructionsRig {
public:
    // Mail category (mailtype.dat line 1) and size ("0" letters, "1" flats).
    InstructionsRig(const std::string& category, const std::string& size);
    // Printing on another printer (the PDF writer).
    InstructionsRig(const std::string& category, const std::string& size,
                    platform::PrinterDevice& device);
    // A class and tables built row by row (rig.container, rig.group, rig.zip).
    explicit InstructionsRig(const std::string& classCode);

    TagRig rig;
    std::optional<SortedMailing> mailing;

    AppContext& ctx() { return rig.ctx; }
    PrintSession& session() { return rig.session; }
    void mailType(long line, const std::string& text) { ctx().lists.mailTypeList[line] = text; }
    void periodical(long line, const std::string& text) { ctx().lists.periodicalList[line] = text; }
    // Presorts pieces described as PresortHarness::pieces reads them.
    const SortedMailing& sort(const std::string& pieces);
    // The tables built row by row as a sort, with these records rejected after the others.
    const SortedMailing& built(const std::vector<Piece>& rejected = {});

    // The range and copies as the after-sort choice leaves them, instructions ticked.
    void afterSortChoice(int from, int to, int copies = 1);
    void printInstructions();
    // From the menu: the print dialog is answered with the range.
    void printVerification(int from = 1, int to = 9999);

    std::vector<DrawnText> texts() const;
    // The drawn texts equal to, or (ending) ending with, the text.
    std::vector<DrawnText> find(const std::string& text, bool ending = false) const;
    int count(const std::string& text, bool ending = false) const {
        return static_cast<int>(find(text, ending).size());
    }
    // The one drawn text equal to it (a failure when there is not exactly one).
    DrawnText only(const std::string& text) const;
};

} // namespace quillan::test
