#include "core/postage/PeriodicalCharges.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"
#include "core/money/Money.h"
#include "core/postage/RateBlocks.h"

namespace quillan {

namespace {

using R = RateTable;

// The in-county rate column of the class's barcoded pieces.
R::PieceKind inCountyKindOf(MailClass mailClass) {
    if (mailClass == MailClass::PAL)
        return R::AutomationLetter;
    if (mailClass.isPeriodicals() && mailClass.isBarcodedFlats())
        return R::AutomationFlat;
    return R::NonautomationPiece;
}

void addInCountyLines(PeriodicalCharges& charges, const SortedMailing& mailing,
                      const std::array<int32_t, 3>& pieces, R::PieceKind kind) {
    const R::PresortLevel levels[] = {R::BasicLevel, R::ThreeDigitLevel, R::FiveDigitLevel};
    for (R::PresortLevel level : levels) {
        long line = R::line(R::PeriodicalInCounty, R::inCountyPiecePlace(level, kind));
        InCountyPieceLine piece;
        piece.pieces = pieces[static_cast<size_t>(level)];
        piece.rateText = mailing.rates().rateText(line);
        piece.amount = exactProduct(mailing.rates().rate(line), piece.pieces);
        charges.inCountyLinePieces += piece.pieces;
        charges.inCountyPieceCharge = moneySum({charges.inCountyPieceCharge, piece.amount});
        charges.inCountyLines.push_back(piece);
    }
}

void computeOutsideCounty(PeriodicalCharges& charges, const SortedMailing& mailing,
                          const PeriodicalZoneCharges& zones) {
    const PeriodicalSettings& periodical = mailing.periodical();
    const RateTable& rates = mailing.rates();
    R::Base base = periodicalBase(periodical);
    double advertising = periodical.advertisingPercent();
    bool reduced = periodical.classroomOrNonprofit();
    charges.nonadvertisingPercent = advertising <= 10 && reduced ? 100 : 100 - advertising;
    charges.outsideCountyPieces = mailing.pieceCount() - zones.inCountyPieces;
    // The rate is per piece and per percentage point, so the percentage multiplies as
    // 95.00, not 0.95.
    charges.nonadvertisingAdjustment =
        exactProduct(rates.rate(base, R::NonadvertisingPieceRate), charges.nonadvertisingPercent,
                     charges.outsideCountyPieces);
    charges.dscfPieces = zones.dscfPieces;
    charges.scfDiscount = exactProduct(rates.rate(base, R::ScfPieceDiscount), zones.dscfPieces);
    charges.dadcPieces = zones.dadcPieces;
    charges.adcDiscount = exactProduct(rates.rate(base, R::AdcPieceDiscount), zones.dadcPieces);
    charges.adjustmentsAndDiscounts =
        moneySum({charges.nonadvertisingAdjustment, charges.scfDiscount, charges.adcDiscount});
    charges.piecePostageLessDiscounts =
        moneySum({charges.piecePostage, -charges.adjustmentsAndDiscounts});
    charges.withPoundCharges = moneySum(
        {charges.piecePostageLessDiscounts, zones.advertisingCharge, zones.nonadvertisingCharge});
    charges.outsideCountyPostage = charges.withPoundCharges;
    if (!reduced)
        return;
    charges.reductionBase =
        moneySum({charges.piecePostageLessDiscounts, zones.nonadvertisingCharge});
    charges.reduction = exactProduct(0.05, *charges.reductionBase);
    charges.outsideCountyPostage = moneySum({charges.outsideCountyPostage, -charges.reduction});
}

void computeInCounty(PeriodicalCharges& charges, const SortedMailing& mailing,
                     const PeriodicalZoneCharges& zones, const InCountyTally& inCounty) {
    const RateTable& rates = mailing.rates();
    charges.inCountyPieces = zones.inCountyPieces;
    charges.inCountyPounds =
        periodicalPoundsOf(zones.inCountyPieces, mailing.mailType().pieceWeight());
    charges.inCountyPoundRateText = rates.rateText(R::PeriodicalInCounty, R::InCountyPoundRate);
    charges.inCountyPoundCharge = exactProduct(
        rates.rate(R::PeriodicalInCounty, R::InCountyPoundRate), charges.inCountyPounds);
    MailClass mailClass = mailing.mailClass();
    addInCountyLines(charges, mailing, inCounty.pieces, inCountyKindOf(mailClass));
    if (mailClass == MailClass::PCOF)
        addInCountyLines(charges, mailing, inCounty.nonbarcodedPieces, R::NonautomationPiece);
    charges.inCountyPostage = moneySum({charges.inCountyPoundCharge, charges.inCountyPieceCharge});
}

std::string money(double amount) {
    return currencyText(amount);
}

} // namespace

PeriodicalCharges computePeriodicalCharges(const SortedMailing& mailing,
                                           const PeriodicalZoneCharges& zones,
                                           const InCountyTally& inCounty, double piecePostage,
                                           int32_t pieceLinePieces) {
    PeriodicalCharges charges;
    charges.pieceLinePieces = pieceLinePieces;
    charges.piecePostage = piecePostage;
    computeOutsideCounty(charges, mailing, zones);
    computeInCounty(charges, mailing, zones, inCounty);
    charges.totalPostage = moneySum({charges.outsideCountyPostage, charges.inCountyPostage});
    return charges;
}

void AddPeriodicalCharges(StatementLines& lines, const PeriodicalCharges& charges,
                          MailClass mailClass) {
    const StatementLine empty;
    if (mailClass != MailClass::PCOF)
        for (int i = 0; i < 3; ++i)
            lines.add(empty);
    lines.add({intToStr(charges.pieceLinePieces), money(charges.piecePostage), ""});
    lines.add({formatMoney(charges.nonadvertisingPercent, 2, MoneyStyle::Grouped),
               money(charges.nonadvertisingAdjustment), ""});
    lines.add({intToStr(charges.dscfPieces), money(charges.scfDiscount), ""});
    lines.add({intToStr(charges.dadcPieces), money(charges.adcDiscount), ""});
    lines.add({"", money(charges.adjustmentsAndDiscounts), ""});
    lines.add({"", money(charges.piecePostageLessDiscounts), ""});
    lines.add({"", money(charges.withPoundCharges), ""});
    if (charges.reductionBase) {
        lines.add({"", money(*charges.reductionBase), ""});
        lines.add({"", money(charges.reduction), ""});
    } else {
        lines.add(empty);
        lines.add({"", currencyTotalText(0), ""});
    }
    lines.add({"", money(charges.outsideCountyPostage), ""});
    lines.add({intToStr(charges.inCountyPieces), "", ""});
    lines.add({intToStr(charges.inCountyPounds), money(charges.inCountyPoundCharge), ""});
    for (const InCountyPieceLine& line : charges.inCountyLines)
        lines.add({intToStr(line.pieces), money(line.amount), ""});
    for (size_t i = charges.inCountyLines.size(); i < 6; ++i)
        lines.add({"0", "", ""});
    lines.add({intToStr(charges.inCountyLinePieces), money(charges.inCountyPieceCharge), ""});
    lines.add({"", money(charges.inCountyPostage), ""});
}

} // namespace quillan
