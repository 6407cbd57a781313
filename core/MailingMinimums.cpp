#include "core/MailingMinimums.h"

#include "core/money/ExactProduct.h"

namespace quillan {

const char* const TooSmallQuestion =
    "After removing bad zips (if any), this mailing is too small for bulk/presort rates."
    " Do you want to sort it anyway?";
const char* const TooFewZip4sMessage =
    "After removing bad zips (if any), this mailing has too few zip+4s for a co-sacked "
    "mailing. Change the mailing class to nonautomation standard and try again.";

// The weight is read only when the rule needs it: it may be empty when no exact weight
// was given.
bool WeighsEnoughForPresort(const MailTypeSettings& mailType, int32_t pieces) {
    return mailType.hasExactWeight() && exactProduct(mailType.pieceWeight(), pieces) >= 800.0;
}

bool MeetsMinimumSize(const Mailing& mailing, const MailTypeSettings& mailType) {
    const int32_t n = mailing.validPieces();
    if (mailType.isPeriodicals())
        return true;
    if (n >= 500)
        return true;
    if (n >= 200 && !mailType.isFirstClass())
        return true;
    return WeighsEnoughForPresort(mailType, n);
}

bool HasEnoughZip4s(const Mailing& mailing, const MailTypeSettings& mailType) {
    if (!mailType.isStandardCoSacked())
        return true;
    const int32_t m = mailing.validPieces() - mailing.counters.missingZip4Count;
    return m >= 200 || WeighsEnoughForPresort(mailType, m);
}

} // namespace quillan
