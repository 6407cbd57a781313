#include "core/MailingMinimums.h"

#include "core/Convert.h"
#include "core/MailSettings.h"

namespace quillan {

const char* const TooSmallQuestion =
    "After removing bad zips (if any), this mailing is too small for bulk/presort rates."
    " Do you want to sort it anyway?";
const char* const TooFewZip4sMessage =
    "After removing bad zips (if any), this mailing has too few zip+4s for a co-sacked "
    "mailing. Change the mailing class to nonautomation standard and try again.";

namespace {

const std::string& mailType(const AppContext& ctx) {
    return ctx.lists.MailTypeList[1];
}

// The weight is read only when the rule needs it: it may be empty when no exact weight
// was given.
bool weighsEnough(const AppContext& ctx, int32_t pieces) {
    const SettingsList& mailtype = ctx.lists.MailTypeList;
    if (mailtype[4] != "1")
        return false;
    return strToFloat(mailtype[5]) * pieces >= 800.0;
}

int32_t piecesAfterRejects(const AppContext& ctx) {
    return ctx.counters.RecordCount - ctx.counters.RejectedCount;
}

} // namespace

bool MeetsMinimumSize(const AppContext& ctx) {
    const int32_t n = piecesAfterRejects(ctx);
    if (isPeriodicalsMailType(mailType(ctx)))
        return true;
    if (n >= 500)
        return true;
    if (n >= 200 && mailType(ctx) != "8")
        return true;
    return weighsEnough(ctx, n);
}

bool HasEnoughZip4s(const AppContext& ctx) {
    if (mailType(ctx) != "4")
        return true;
    const int32_t m = piecesAfterRejects(ctx) - ctx.counters.MissingZip4Count;
    return m >= 200 || weighsEnough(ctx, m);
}

} // namespace quillan
