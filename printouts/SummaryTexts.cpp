#include "printouts/SummaryTexts.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"
#include "core/money/Money.h"
#include "reports/StatementDigits.h"

#include <cmath>

namespace quillan {

namespace {

std::string rateCategoryText(const SortedMailing& mailing) {
    if (mailing.mailClass().isPeriodicals()) {
        const std::string& category = mailing.periodical().at(PeriodicalSettings::RateCategory);
        if (category == "0")
            return " - Regular";
        if (category == "1")
            return " - Classroom";
        if (category == "2")
            return " - Nonprofit";
        return " - Sci. of Ag.";
    }
    const std::string& category = mailing.mailType().at(MailTypeSettings::RateCategory);
    if (category == "0")
        return " - Regular";
    return category == "1" ? " - Card" : " - Nonprofit";
}

// A 5-inch package of flats holds a fifth of a foot of tray: about 4.2 pieces to an inch
// of a full mm tray's count, 4.35 of an emm tray's; an exact multiple is not rounded up.
int32_t piecesPerFlatsPackage(const MailTypeSettings& mailType) {
    long double perInch = mailType.mmTrays() ? 4.2L : 4.35L;
    return static_cast<int32_t>(std::trunc(mailType.fullTray() / perInch - 0.0001L)) + 1;
}

std::string containerText(const SortedMailing& mailing) {
    const MailTypeSettings& mailType = mailing.mailType();
    if (mailing.mailClass().isLetters())
        return std::string(mailType.mmTrays() ? " - mm tray" : " - emm tray") + " (" +
               mailType.at(MailTypeSettings::FullTray) + " pcs. max.)";
    return " - " + intToStr(piecesPerFlatsPackage(mailType)) + " pcs. per 5\" pkg.";
}

std::string weightText(const MailTypeSettings& mailType) {
    if (mailType.at(MailTypeSettings::WeightChoice) == "0")
        return " - Minimum weight";
    return " - " + mailType.at(MailTypeSettings::PieceWeight) + " oz. per pc.";
}

std::string entryText(const SortedMailing& mailing) {
    const std::string& entry = mailing.mailer().at(MailerSettings::EntryType);
    if (entry == "0")
        return "Local entry";
    if (entry == "1")
        return "SCF entry";
    if (entry == "2")
        return mailing.mailClass().isPeriodicals() ? "DADC entry" : "DBMC entry";
    return "";
}

std::string periodicalSettingsText(const SortedMailing& mailing) {
    const PeriodicalSettings& periodical = mailing.periodical();
    std::string text = " - Advert.: " + periodical.at(PeriodicalSettings::AdvertisingPercent) +
                       "%" + " - min. " + periodical.at(PeriodicalSettings::ContainerMinimum) +
                       (mailing.mailClass().isLetters() ? " pc./tray" : " pc./sack");
    if (periodical.inCountyRates())
        text += " - In-County Rates";
    return text;
}

bool overThreePointThreeOunces(const MailTypeSettings& mailType) {
    return mailType.hasExactWeight() && mailType.pieceWeight() > 3.3;
}

std::string standardFormLine(const char* permit, const char* affixed) {
    return std::string("(Permit imprint mailers use Form ") + permit +
           ". Meter or precanceled stamp mailers use Form " + affixed + ".)";
}

} // namespace

std::string mailingSettingsLine(const SortedMailing& mailing) {
    return std::string(mailing.mailClass().reportText()) + rateCategoryText(mailing) +
           containerText(mailing) + weightText(mailing.mailType());
}

std::string originLine(const SortedMailing& mailing) {
    std::string line = "Originating Zip: " + mailing.mailer().zip() + " - " + entryText(mailing);
    if (mailing.mailClass().isPeriodicals())
        line += periodicalSettingsText(mailing);
    return line;
}

std::string formLine(const SortedMailing& mailing) {
    MailClass mailClass = mailing.mailClass();
    const MailTypeSettings& mailType = mailing.mailType();
    if (mailClass.isFirstClass())
        return standardFormLine("3600-R", "3600-P");
    if (mailClass.isPeriodicals())
        return "(Use Form 3541a.)";
    bool regular = mailType.regularRates();
    bool heavy = overThreePointThreeOunces(mailType);
    if (mailClass == MailClass::RNML && !heavy)
        return regular ? standardFormLine("3602-RS", "3602-PS")
                       : standardFormLine("3602-NS", "3602-NPS");
    if (mailClass == MailClass::RAL && heavy)
        return regular ? standardFormLine("3602-HR", "3602-HP")
                       : standardFormLine("3602-NHR", "3602-NHP");
    return regular ? standardFormLine("3602-R", "3602-P") : standardFormLine("3602-N", "3602-NP");
}

std::string processingCategory(MailClass mailClass) {
    switch (mailClass.value()) {
    case MailClass::RNAF:
    case MailClass::PNAF:
        return "Flats";
    case MailClass::RAF:
    case MailClass::PAF:
        return "Automation Flats (DMM C820)";
    case MailClass::RCOF:
    case MailClass::PCOF:
        return "Flats and Automation Flats (DMM C820)";
    default:
        return "Letters";
    }
}

std::string sackingBasis(const SortedMailing& mailing) {
    MailClass mailClass = mailing.mailClass();
    if (!mailClass.isStandard() || !mailClass.isFlats())
        return "(leave blank - not a sacked mailing)";
    const MailTypeSettings& mailType = mailing.mailType();
    return mailType.hasExactWeight() && mailType.pieceWeight() > 1.92 ? "15 Lbs." : "125 Pcs.";
}

std::string formPart(const SortedMailing& mailing) {
    MailClass mailClass = mailing.mailClass();
    const MailTypeSettings& mailType = mailing.mailType();
    bool automation = mailClass.isStandard() && mailClass.isAutomation();
    // Co-sacked flats fill both parts whatever their weight, up to 3.3 oz.
    if (mailClass.isCoSacked() && !overThreePointThreeOunces(mailType))
        return "A and B.";
    if (mailClass.isFirstClass())
        return mailType.cardRates() ? "D." : "A.";
    if (overThreePointThreeOunces(mailType))
        return mailClass == MailClass::RAL ? "J." : "D.";
    if (automation)
        return "A.";
    return mailClass == MailClass::RNML ? "E." : "B.";
}

std::string copyWeightText(double ounces) {
    // Four decimals of a pound, as the statement's weight boxes show it.
    return poundsText(poundsOf(1, ounces), 4, true);
}

ContainersLine containersLine(const SortedMailing& mailing) {
    const MailTypeSettings& mailType = mailing.mailType();
    int32_t containers = static_cast<int32_t>(mailing.containers().size());
    std::string count = "Number of Containers: " + intToStr(containers);
    if (!mailing.mailClass().isLetters())
        return {count + " Sacks", ""};
    if (!mailType.mmTrays())
        return {count + " 2-Ft EMM Trays", ""};
    long double oneFoot = mailType.fullTray() * 10.25L / 21;
    int32_t oneFootTrays = 0;
    for (const Container& tray : mailing.containers())
        if (tray.pieces <= oneFoot)
            ++oneFootTrays;
    return {count, "(1-Ft MM Trays: " + intToStr(oneFootTrays) +
                       "      2-Ft MM Trays: " + intToStr(containers - oneFootTrays) + ")"};
}

} // namespace quillan
