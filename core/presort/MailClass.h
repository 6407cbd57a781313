#pragma once

#include "core/AppContext.h"

#include <stdexcept>
#include <string>

namespace quillan {

// A presort that cannot be run or finished as asked; the message is the one the user sees.
class PresortError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The class code of the mailing from mailtype.dat lines 1 (category) and 3 (size). A
// category outside 0 to 8 names no class: the presort is refused with a PresortError
// rather than run under the code of an earlier sort.
std::string mailClassCodeFor(const SettingsList& mailTypes);
void ChooseMailClassCode(AppContext& ctx);

// The families the presort steps test.
bool isTraysOnlyLetters(const std::string& code); // RML, RAL, PAL, FAL
bool isPackagedLetters(const std::string& code);  // RNML, PNAL
bool isFlatClass(const std::string& code);        // every code ending in "F"
bool isCoSacked(const std::string& code);         // RCOF, PCOF
bool isPeriodicals(const std::string& code);
bool isStandard(const std::string& code);

} // namespace quillan
