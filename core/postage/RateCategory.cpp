#include "core/postage/RateCategory.h"

namespace quillan {

std::string_view rateLevelText(RateLevel level) {
    switch (level) {
    case RateLevel::Basic:
        return "Basic";
    case RateLevel::ThreeFiveDigit:
        return "3/5-Digit";
    case RateLevel::ThreeDigit:
        return "3-Digit";
    case RateLevel::FiveDigit:
        return "5-Digit";
    case RateLevel::Aadc:
        return "AADC";
    case RateLevel::MixedAadc:
        return "Mixed AADC";
    }
    return "";
}

std::string_view entryDiscountText(EntryDiscount entry) {
    switch (entry) {
    case EntryDiscount::None:
        return "None";
    case EntryDiscount::Dbmc:
        return "DBMC";
    case EntryDiscount::Dscf:
        return "DSCF";
    }
    return "";
}

} // namespace quillan
