#include "core/presort/MailClass.h"

#include "core/Convert.h"

namespace quillan {

std::string mailClassCodeFor(const SettingsList& mailTypes) {
    int32_t category = -1;
    if (!tryStrToInt(mailTypes[1], category) || category < 0 || category > 8)
        throw PresortError("The mail category in mailtype.dat (\"" + mailTypes[1] +
                           "\") is not one Quillan knows. Choose the category again under "
                           "Settings, Mail Categories, and sort again.");
    bool letters = mailTypes[3] == "0";
    switch (category) {
    case 0:
        return "RML";
    case 1:
        return "RNML";
    case 2:
        return "RNAF";
    case 3:
        return letters ? "RAL" : "RAF";
    case 4:
        return "RCOF";
    case 5:
        return letters ? "PNAL" : "PNAF";
    case 6:
        return letters ? "PAL" : "PAF";
    case 7:
        return "PCOF";
    default:
        return "FAL";
    }
}

void ChooseMailClassCode(AppContext& ctx) {
    ctx.MailClassCode = mailClassCodeFor(ctx.lists.MailTypeList);
}

bool isTraysOnlyLetters(const std::string& code) {
    return code == "RML" || code == "RAL" || code == "PAL" || code == "FAL";
}

bool isPackagedLetters(const std::string& code) {
    return code == "RNML" || code == "PNAL";
}

bool isFlatClass(const std::string& code) {
    return !code.empty() && code.back() == 'F';
}

bool isCoSacked(const std::string& code) {
    return code == "RCOF" || code == "PCOF";
}

bool isPeriodicals(const std::string& code) {
    return !code.empty() && code[0] == 'P';
}

bool isStandard(const std::string& code) {
    return !code.empty() && code[0] == 'R';
}

} // namespace quillan
