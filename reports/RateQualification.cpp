#include "reports/RateQualification.h"

#include "core/presort/PresortRules.h"

namespace quillan {

namespace {

// Barcoded flat packages qualify by their own size: 10 pieces for Standard, 6 for
// Periodicals.
bool takesPackageRule(MailClass c, const SortGroup& group) {
    if (c.isAutomation() && c.isFlats())
        return true;
    return c.isCoSacked() && !group.nonbarcoded;
}

RateColumn packageColumn(MailClass c, const SortGroup& group) {
    bool periodicals = c.isPeriodicals();
    bool qualifies = group.pieces >= (periodicals ? 6 : 10);
    bool coSacked = c.isCoSacked();
    bool threeDigit = group.kind == GroupKind::ThreeDigit;
    bool fiveDigit = group.kind == GroupKind::FiveDigit;
    if (qualifies && (threeDigit || (!periodicals && fiveDigit))) {
        if (periodicals)
            return coSacked ? RateColumn::CoSackedThreeDigit : RateColumn::ThreeDigit;
        return coSacked ? RateColumn::CoSackedThreeFive : RateColumn::ThreeFive;
    }
    if (qualifies && fiveDigit)
        return coSacked ? RateColumn::CoSackedFiveDigit : RateColumn::FiveDigit;
    return coSacked ? RateColumn::CoSackedBasic : RateColumn::Basic;
}

// A 3-digit or scheme tray or sack.
RateColumn threeDigitContainerColumn(const SortedMailing& m, const Container& container) {
    MailClass c = m.mailClass();
    if (c.isPeriodicals() || c.isAadcAutomationLetters()) {
        if (container.level == ContainerLevel::ThreeDigit ||
            (c.value() == MailClass::PCOF && container.level == ContainerLevel::Mixed))
            return RateColumn::ThreeDigit;
        return c.isAadcAutomationLetters() ? RateColumn::Aadc : RateColumn::Basic;
    }
    bool fullSack =
        c.value() != MailClass::RCOF || container.pieces >= standardFlatSackMinimum(m.mailType());
    if (fullSack && container.level == ContainerLevel::ThreeFiveDigit)
        return RateColumn::ThreeFive;
    return RateColumn::Basic;
}

RateColumn containerColumn(const SortedMailing& m, const SortGroup& group) {
    MailClass c = m.mailClass();
    const Container& container = m.containers().at(static_cast<size_t>(group.container));
    switch (container.kind) {
    case ContainerKind::Adc:
        return c.isAadcAutomationLetters() ? RateColumn::Aadc : RateColumn::Basic;
    case ContainerKind::Mixed:
    case ContainerKind::Scf:
        return RateColumn::Basic;
    case ContainerKind::Scheme:
    case ContainerKind::ThreeDigit:
        return threeDigitContainerColumn(m, container);
    case ContainerKind::FiveDigit:
        break;
    }
    if (c.isPeriodicals() || c.isAadcAutomationLetters())
        return RateColumn::FiveDigit;
    return RateColumn::ThreeFive;
}

} // namespace

int32_t RateTotals::coSackedAutomation() const {
    return (*this)[RateColumn::CoSackedFiveDigit] + (*this)[RateColumn::CoSackedThreeDigit] +
           (*this)[RateColumn::CoSackedThreeFive] + (*this)[RateColumn::CoSackedBasic];
}

int32_t RateTotals::coSackedNonautomation() const {
    return (*this)[RateColumn::FiveDigit] + (*this)[RateColumn::ThreeDigit] +
           (*this)[RateColumn::ThreeFive] + (*this)[RateColumn::Basic];
}

RateColumn qualifyingColumn(const SortedMailing& mailing, size_t g) {
    const SortGroup& group = mailing.sortGroups().at(g);
    if (takesPackageRule(mailing.mailClass(), group))
        return packageColumn(mailing.mailClass(), group);
    return containerColumn(mailing, group);
}

int32_t rateColumnX(MailClass mailClass, RateColumn column) {
    bool aadcColumn = mailClass.isAadcAutomationLetters();
    switch (column) {
    case RateColumn::FiveDigit:
        return aadcColumn ? 378 : 414;
    case RateColumn::ThreeDigit:
        return aadcColumn ? 414 : 450;
    case RateColumn::ThreeFive:
    case RateColumn::Aadc:
        return 450;
    case RateColumn::Basic:
        return 486;
    case RateColumn::CoSackedFiveDigit:
        return 306;
    case RateColumn::CoSackedThreeDigit:
    case RateColumn::CoSackedThreeFive:
        return 342;
    case RateColumn::CoSackedBasic:
        break;
    }
    return 378;
}

} // namespace quillan
