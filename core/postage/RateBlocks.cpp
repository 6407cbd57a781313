#include "core/postage/RateBlocks.h"

#include <array>
#include <cstdio>

namespace quillan {

namespace {

using R = RateTable;
using L = RateLevel;

constexpr std::array<R::EntryRow, 3> EntryRows = {R::NoEntryRow, R::DbmcRow, R::DscfRow};

EntryDiscount entryOf(R::EntryRow row) {
    switch (row) {
    case R::DbmcRow:
        return EntryDiscount::Dbmc;
    case R::DscfRow:
        return EntryDiscount::Dscf;
    default:
        return EntryDiscount::None;
    }
}

// Builds a block's lines in order, numbering the row variants of each group.
class BlockBuilder {
public:
    explicit BlockBuilder(int number) { block_.number = number; }

    // Starts a group: its first line has row variant 0.
    void group() { opening_ = true; }
    void add(std::string_view label, L level, R::EntryRow entry, long rateLine,
             CoSackedPart part = CoSackedPart::Automation, long surchargeLine = 0) {
        block_.lines.push_back(
            {label, {level, entryOf(entry), part}, rateLine, surchargeLine, opening_ ? 0 : 1});
        opening_ = false;
    }
    // A piece line followed by the pound line of its entry discount.
    void addWithPounds(std::string_view label, L level, R::EntryRow entry, R::Base base, long place,
                       CoSackedPart part = CoSackedPart::Automation) {
        add(label, level, entry, R::line(base, place), part);
        add(PoundLineLabel, level, entry, R::line(base, R::poundPlace(entry)), part);
    }
    void markAutomationEnd() { block_.automationLines = block_.lines.size(); }
    RateBlock take() { return std::move(block_); }

private:
    RateBlock block_;
    bool opening_ = true;
};

// Pieces over 3.3 oz: presorted (nonautomation) and automation flats, by entry discount.
void addPresortedPounds(BlockBuilder& b, R::EntryRow e, R::Base base, CoSackedPart part) {
    b.addWithPounds("3/5 Presorted", L::ThreeFiveDigit, e, base, R::PieceNonauto35, part);
    b.addWithPounds("Basic Presorted", L::Basic, e, base, R::PieceNonautoBasic, part);
}

void addAutomationPounds(BlockBuilder& b, R::EntryRow e, R::Base base) {
    b.addWithPounds("3/5 Automation", L::ThreeFiveDigit, e, base, R::PieceAutoFlat35);
    b.addWithPounds("Basic Automation", L::Basic, e, base, R::PieceAutoFlatBasic);
}

RateBlock presortedPoundBlock(R::Base base) {
    BlockBuilder b(1);
    for (R::EntryRow e : EntryRows) {
        b.group();
        addPresortedPounds(b, e, base, CoSackedPart::Automation);
    }
    return b.take();
}

RateBlock automationLetterPoundBlock(R::Base base) {
    BlockBuilder b(2);
    for (R::EntryRow e : EntryRows) {
        b.group();
        b.addWithPounds("5-Digit", L::FiveDigit, e, base, R::PieceAutoLetter5Digit);
        b.addWithPounds("3-Digit", L::ThreeDigit, e, base, R::PieceAutoLetter3Digit);
        b.addWithPounds("AADC", L::Aadc, e, base, R::PieceAutoLetterAadc);
        if (e != R::DscfRow)
            b.addWithPounds("Mixed AADC", L::MixedAadc, e, base, R::PieceAutoLetterMixedAadc);
    }
    return b.take();
}

RateBlock automationFlatPoundBlock(R::Base base) {
    BlockBuilder b(3);
    for (R::EntryRow e : EntryRows) {
        b.group();
        addAutomationPounds(b, e, base);
    }
    return b.take();
}

RateBlock coSackedPoundBlock(R::Base base) {
    BlockBuilder b(4);
    for (R::EntryRow e : EntryRows) {
        b.group();
        addAutomationPounds(b, e, base);
        addPresortedPounds(b, e, base, CoSackedPart::Nonautomation);
    }
    return b.take();
}

RateBlock firstClassBlock(int number, R::Base row) {
    BlockBuilder b(number);
    b.add("5-Digit", L::FiveDigit, R::NoEntryRow, R::line(row, R::FirstClass5Digit));
    b.add("3-Digit", L::ThreeDigit, R::NoEntryRow, R::line(row, R::FirstClass3Digit));
    b.add("AADC", L::Aadc, R::NoEntryRow, R::line(row, R::FirstClassAadc));
    b.add("Mixed AADC", L::MixedAadc, R::NoEntryRow, R::line(row, R::FirstClassMixedAadc));
    // Every First-Class line counts as a continuation: the block is one group of its own.
    RateBlock block = b.take();
    for (RateBlockLine& line : block.lines)
        line.rowVariant = 1;
    return block;
}

RateBlock nonmachinableLetterBlock(R::Base base) {
    BlockBuilder b(7);
    long surcharge = R::line(base, R::NonmachinableSurcharge);
    for (R::EntryRow e : EntryRows) {
        b.group();
        b.add("3/5", L::ThreeFiveDigit, e, R::line(base, R::letterPlace(e, R::LetterNonauto35)),
              CoSackedPart::Automation, surcharge);
        b.add("Basic", L::Basic, e, R::line(base, R::letterPlace(e, R::LetterNonautoBasic)),
              CoSackedPart::Automation, surcharge);
    }
    return b.take();
}

RateBlock machinableLetterBlock(R::Base base) {
    BlockBuilder b(8);
    for (R::EntryRow e : EntryRows) {
        b.group();
        b.add("3/5 Letter", L::ThreeFiveDigit, e,
              R::line(base, R::letterPlace(e, R::LetterNonauto35)));
        b.add("Basic Letter", L::Basic, e, R::line(base, R::letterPlace(e, R::LetterNonautoBasic)));
    }
    return b.take();
}

void addPresortedFlats(BlockBuilder& b, R::EntryRow e, R::Base base, CoSackedPart part) {
    b.add("3/5 Flat", L::ThreeFiveDigit, e,
          R::line(base, R::nonletterPlace(e, R::NonletterNonauto35)), part);
    b.add("Basic Flat", L::Basic, e, R::line(base, R::nonletterPlace(e, R::NonletterNonautoBasic)),
          part);
}

void addAutomationFlats(BlockBuilder& b, R::EntryRow e, R::Base base) {
    b.add("3/5 Flat", L::ThreeFiveDigit, e,
          R::line(base, R::nonletterPlace(e, R::NonletterAuto35)));
    b.add("Basic Flat", L::Basic, e, R::line(base, R::nonletterPlace(e, R::NonletterAutoBasic)));
}

RateBlock presortedFlatBlock(R::Base base) {
    BlockBuilder b(9);
    for (R::EntryRow e : EntryRows) {
        b.group();
        addPresortedFlats(b, e, base, CoSackedPart::Automation);
    }
    return b.take();
}

RateBlock automationLetterBlock(R::Base base) {
    BlockBuilder b(10);
    for (R::EntryRow e : EntryRows) {
        b.group();
        b.add("5-Digit Letter", L::FiveDigit, e, R::line(base, R::letterPlace(e, R::Letter5Digit)));
        b.add("3-Digit Letter", L::ThreeDigit, e,
              R::line(base, R::letterPlace(e, R::Letter3Digit)));
        b.add("AADC Letter", L::Aadc, e, R::line(base, R::letterPlace(e, R::LetterAadc)));
        // Entered at the destination SCF, no mixed AADC tray can qualify.
        if (e != R::DscfRow)
            b.add("Mixed AADC Letter", L::MixedAadc, e,
                  R::line(base, R::letterPlace(e, R::LetterMixedAadc)));
    }
    return b.take();
}

RateBlock automationFlatBlock(R::Base base) {
    BlockBuilder b(11);
    for (R::EntryRow e : EntryRows) {
        b.group();
        addAutomationFlats(b, e, base);
    }
    return b.take();
}

RateBlock coSackedFlatBlock(R::Base base) {
    BlockBuilder b(12);
    for (R::EntryRow e : EntryRows) {
        b.group();
        addAutomationFlats(b, e, base);
    }
    b.markAutomationEnd();
    for (R::EntryRow e : EntryRows) {
        b.group();
        addPresortedFlats(b, e, base, CoSackedPart::Nonautomation);
    }
    return b.take();
}

RateBlock periodicalBlock(MailClass mailClass, R::Base base) {
    BlockBuilder b(13);
    auto add = [&](std::string_view label, L level, R::PresortLevel row, R::PieceKind kind,
                   CoSackedPart part) {
        b.group(); // every Periodicals line opens its own level
        b.add(label, level, R::NoEntryRow, R::line(base, R::periodicalPiecePlace(row, kind)), part);
    };
    const std::array<std::pair<L, R::PresortLevel>, 3> levels = {
        {{L::Basic, R::BasicLevel},
         {L::ThreeDigit, R::ThreeDigitLevel},
         {L::FiveDigit, R::FiveDigitLevel}}};
    for (auto [level, row] : levels) {
        if (mailClass == MailClass::PCOF) {
            add("Nonautomation", level, row, R::NonautomationPiece, CoSackedPart::Nonautomation);
            add("Automation Flats", level, row, R::AutomationFlat, CoSackedPart::Automation);
        } else if (mailClass == MailClass::PAL) {
            add("Automation Letters", level, row, R::AutomationLetter, CoSackedPart::Automation);
        } else if (mailClass == MailClass::PAF) {
            add("Automation Flats", level, row, R::AutomationFlat, CoSackedPart::Automation);
        } else {
            add("Nonautomation", level, row, R::NonautomationPiece, CoSackedPart::Automation);
        }
    }
    return b.take();
}

RateBlock poundRatedBlock(MailClass mailClass, const MailTypeSettings& mailType) {
    R::Base pounds = R::standardBase(!mailType.regularRates());
    switch (mailClass.value()) {
    case MailClass::RNML:
    case MailClass::RNAF:
        return presortedPoundBlock(pounds);
    case MailClass::RAL:
        return automationLetterPoundBlock(pounds);
    case MailClass::RAF:
        return automationFlatPoundBlock(pounds);
    case MailClass::RCOF:
        return coSackedPoundBlock(pounds);
    case MailClass::FAL:
        return firstClassBlock(5, R::FirstClassCards);
    default:
        return {};
    }
}

} // namespace

bool hasExactWeight(MailClass mailClass, const MailTypeSettings& mailType) {
    return mailType.hasExactWeight() && mailClass != MailClass::RML;
}

bool hasPoundRatedWeight(MailClass mailClass, const MailTypeSettings& mailType) {
    return hasExactWeight(mailClass, mailType) && mailType.pieceWeight() > 3.3;
}

bool usesPoundRatedBlock(MailClass mailClass, const MailTypeSettings& mailType) {
    if (mailClass.isPeriodicals())
        return false;
    if (mailClass.isFirstClass())
        return mailType.cardRates();
    return hasPoundRatedWeight(mailClass, mailType);
}

RateTable::Base firstClassRow(const MailTypeSettings& mailType) {
    if (!mailType.hasExactWeight())
        return R::FirstClassUpTo1Oz;
    double weight = mailType.pieceWeight();
    if (weight <= 1.0)
        return R::FirstClassUpTo1Oz;
    if (weight <= 2.0)
        return R::FirstClassUpTo2Oz;
    if (weight <= 3.0)
        return R::FirstClassUpTo3Oz;
    return R::FirstClassUpTo4Oz;
}

RateTable::Base periodicalBase(const PeriodicalSettings& periodical) {
    return periodical.agricultureRates() ? R::PeriodicalAgriculture : R::PeriodicalRegular;
}

RateBlock rateBlockFor(MailClass mailClass, const MailTypeSettings& mailType,
                       const PeriodicalSettings& periodical) {
    if (usesPoundRatedBlock(mailClass, mailType))
        return poundRatedBlock(mailClass, mailType);
    R::Base standard = R::standardBase(!mailType.regularRates());
    switch (mailClass.value()) {
    case MailClass::None:
        return {};
    case MailClass::FAL:
        return firstClassBlock(6, firstClassRow(mailType));
    case MailClass::RNML:
        return nonmachinableLetterBlock(standard);
    case MailClass::RML:
        return machinableLetterBlock(standard);
    case MailClass::RNAF:
        return presortedFlatBlock(standard);
    case MailClass::RAL:
        return automationLetterBlock(standard);
    case MailClass::RAF:
        return automationFlatBlock(standard);
    case MailClass::RCOF:
        return coSackedFlatBlock(standard);
    default:
        return periodicalBlock(mailClass, periodicalBase(periodical));
    }
}

Rate rateOf(const RateTable& rates, const RateBlockLine& line) {
    if (line.surchargeLine == 0)
        return {rates.rateText(line.rateLine), rates.rate(line.rateLine)};
    double sum = rates.rate(line.rateLine) + rates.rate(line.surchargeLine);
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", sum);
    return {text, sum};
}

} // namespace quillan
