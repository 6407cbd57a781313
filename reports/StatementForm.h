#pragma once

#include "platform/graphics/Bitmap.h"
#include "reports/FormLayout.h"

#include <array>
#include <string>

namespace quillan {

// The postage statement forms, one per class, payment and rate category: First-Class
// (3600r permit, 3600p affixed), Periodicals (3541a), and the Standard forms: "s" light
// nonautomation letters, "h" heavy automation letters, plain for the rest; "r" and "p"
// Regular permit and affixed, "n" and "np" Nonprofit permit and affixed.
inline constexpr std::array<const char*, 15> StatementFormNames = {
    "3600r",  "3600p",   "3541a",   "3602rs", "3602ps", "3602ns", "3602nps", "3602hr",
    "3602hp", "3602nhr", "3602nhp", "3602r",  "3602p",  "3602n",  "3602np"};

// Everything a statement copy needs of its form, read before the document begins so that a
// missing or broken file stops the statement with nothing half printed.
struct StatementForm {
    std::string name;
    FormLayout layout;
    platform::Bitmap page1;
    platform::Bitmap page2;
};

// Throws FormFileError naming the file (and line) that is missing or unreadable. A page
// that will not be drawn need not be there: its image is left empty.
StatementForm loadStatementForm(const std::string& bitmapsFolder, const std::string& formName,
                                bool withPage1 = true, bool withPage2 = true);

} // namespace quillan
