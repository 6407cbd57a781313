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

// Mailings presorted over the test geography and printed through the mail preparation
// instructions on a 72 dpi recording printer, so that a device unit is a point.
class InstructionsRig {
public:
    // Mail category (mailtype.dat line 1) and size ("0" letters, "1" flats).
    InstructionsRig(const std::string& category, const std::string& size);

    TagRig rig;
    std::optional<SortedMailing> mailing;

    AppContext& ctx() { return rig.ctx; }
    void mailType(long line, const std::string& text) { ctx().lists.mailTypeList[line] = text; }
    // Presorts pieces described as PresortHarness::pieces reads them.
    const SortedMailing& sort(const std::string& pieces);

    // The range and copies as the after-sort choice leaves them, instructions ticked.
    void afterSortChoice(int from, int to, int copies = 1);
    void printInstructions();
    void printVerification();

    std::vector<DrawnText> texts() const;
    // The drawn texts equal to, or (ending) ending with, the text.
    std::vector<DrawnText> find(const std::string& text, bool ending = false) const;
    int count(const std::string& text, bool ending = false) const {
        return static_cast<int>(find(text, ending).size());
    }
};

} // namespace quillan::test
