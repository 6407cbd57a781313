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

// Builds a block's lines in order over one rates.dat block, numbering the row variants of
// each group.
class BlockBuilder {
public:
    BlockBuilder(int number, R::Base base) : base_(base) { block_.number = number; }

    // Starts a group: its first line has row variant 0.
    void group() { opening_ = true; }
    // One group for each entry discount, filled by fill(entry).
    template <class Fill>
    void groupPerEntry(Fill fill) {
        for (R::EntryRow entry : EntryRows) {
            group();
            fill(entry);
        }
    }
    // A line reading the rate at place in the block (and the surcharge at surchargePlace).
    void add(std::string_view label, L level, R::EntryRow entry, long place,
             CoSackedPart part = CoSackedPart::Automation, long surchargePlace = 0) {
        long surchargeLine = surchargePlace == 0 ? 0 : R::line(base_, surchargePlace);
        block_.lines.push_back({label,
                                {level, entryOf(entry), part},
                                R::line(base_, place),
                                surchargeLine,
                                opening_ ? 0 : 1});
        opening_ = false;
    }
    void addLetter(std::string_view label, L level, R::EntryRow entry, R::LetterColumn column,
                   long surchargePlace = 0) {
        add(label, level, entry, R::letterPlace(entry, column), CoSackedPart::Automation,
            surchargePlace);
    }
    void addNonletter(std::string_view label, L level, R::EntryRow entry, R::NonletterColumn column,
                      CoSackedPart part = CoSackedPart::Automation) {
        add(label, level, entry, R::nonletterPlace(entry, column), part);
    }
    // A piece line followed by the pound line of its entry discount.
    void addWithPounds(std::string_view label, L level, R::EntryRow entry, long place,
                       CoSackedPart part = CoSackedPart::Automation) {
        add(label, level, entry, place, part);
        add(PoundLineLabel, level, entry, R::poundPlace(entry), part);
    }
    void markAutomationEnd() { block_.automationLines = block_.lines.size(); }
    RateBlock take() { return std::move(block_); }

private:
    RateBlock block_;
    R::Base base_;
    bool opening_ = true;
};

// A block of one group for each entry discount, each filled by fill(builder, entry).
template <class Fill>
RateBlock blockPerEntry(int number, R::Base base, Fill fill) {
    BlockBuilder b(number, base);
    b.groupPerEntry([&](R::EntryRow entry) { fill(b, entry); });
    return b.take();
}

// Pieces over 3.3 oz: presorted (nonautomation) and automation flats, by entry discount.
void addPresortedPounds(BlockBuilder& b, R::EntryRow e, CoSackedPart part) {
    b.addWithPounds("3/5 Presorted", L::ThreeFiveDigit, e, R::PieceNonauto35, part);
    b.addWithPounds("Basic Presorted", L::Basic, e, R::PieceNonautoBasic, part);
}

void addAutomationPounds(BlockBuilder& b, R::EntryRow e) {
    b.addWithPounds("3/5 Automation", L::ThreeFiveDigit, e, R::PieceAutoFlat35);
    b.addWithPounds("Basic Automation", L::Basic, e, R::PieceAutoFlatBasic);
}

RateBlock presortedPoundBlock(R::Base base) {
    return blockPerEntry(1, base, [](BlockBuilder& b, R::EntryRow e) {
        addPresortedPounds(b, e, CoSackedPart::Automation);
    });
}

RateBlock automationLetterPoundBlock(R::Base base) {
    return blockPerEntry(2, base, [](BlockBuilder& b, R::EntryRow e) {
        b.addWithPounds("5-Digit", L::FiveDigit, e, R::PieceAutoLetter5Digit);
        b.addWithPounds("3-Digit", L::ThreeDigit, e, R::PieceAutoLetter3Digit);
        b.addWithPounds("AADC", L::Aadc, e, R::PieceAutoLetterAadc);
        if (e != R::DscfRow)
            b.addWithPounds("Mixed AADC", L::MixedAadc, e, R::PieceAutoLetterMixedAadc);
    });
}

RateBlock automationFlatPoundBlock(R::Base base) {
    return blockPerEntry(3, base, addAutomationPounds);
}

RateBlock coSackedPoundBlock(R::Base base) {
    return blockPerEntry(4, base, [](BlockBuilder& b, R::EntryRow e) {
        addAutomationPounds(b, e);
        addPresortedPounds(b, e, CoSackedPart::Nonautomation);
    });
}

RateBlock firstClassBlock(int number, R::Base row) {
    BlockBuilder b(number, row);
    b.add("5-Digit", L::FiveDigit, R::NoEntryRow, R::FirstClass5Digit);
    b.add("3-Digit", L::ThreeDigit, R::NoEntryRow, R::FirstClass3Digit);
    b.add("AADC", L::Aadc, R::NoEntryRow, R::FirstClassAadc);
    b.add("Mixed AADC", L::MixedAadc, R::NoEntryRow, R::FirstClassMixedAadc);
    // Every First-Class line counts as a continuation: the block is one group of its own.
    RateBlock block = b.take();
    for (RateBlockLine& line : block.lines)
        line.rowVariant = 1;
    return block;
}

RateBlock nonmachinableLetterBlock(R::Base base) {
    return blockPerEntry(7, base, [](BlockBuilder& b, R::EntryRow e) {
        b.addLetter("3/5", L::ThreeFiveDigit, e, R::LetterNonauto35, R::NonmachinableSurcharge);
        b.addLetter("Basic", L::Basic, e, R::LetterNonautoBasic, R::NonmachinableSurcharge);
    });
}

RateBlock machinableLetterBlock(R::Base base) {
    return blockPerEntry(8, base, [](BlockBuilder& b, R::EntryRow e) {
        b.addLetter("3/5 Letter", L::ThreeFiveDigit, e, R::LetterNonauto35);
        b.addLetter("Basic Letter", L::Basic, e, R::LetterNonautoBasic);
    });
}

void addPresortedFlats(BlockBuilder& b, R::EntryRow e, CoSackedPart part) {
    b.addNonletter("3/5 Flat", L::ThreeFiveDigit, e, R::NonletterNonauto35, part);
    b.addNonletter("Basic Flat", L::Basic, e, R::NonletterNonautoBasic, part);
}

void addAutomationFlats(BlockBuilder& b, R::EntryRow e) {
    b.addNonletter("3/5 Flat", L::ThreeFiveDigit, e, R::NonletterAuto35);
    b.addNonletter("Basic Flat", L::Basic, e, R::NonletterAutoBasic);
}

RateBlock presortedFlatBlock(R::Base base) {
    return blockPerEntry(9, base, [](BlockBuilder& b, R::EntryRow e) {
        addPresortedFlats(b, e, CoSackedPart::Automation);
    });
}

RateBlock automationLetterBlock(R::Base base) {
    return blockPerEntry(10, base, [](BlockBuilder& b, R::EntryRow e) {
        b.addLetter("5-Digit Letter", L::FiveDigit, e, R::Letter5Digit);
        b.addLetter("3-Digit Letter", L::ThreeDigit, e, R::Letter3Digit);
        b.addLetter("AADC Letter", L::Aadc, e, R::LetterAadc);
        // Entered at the destination SCF, no mixed AADC tray can qualify.
        if (e != R::DscfRow)
            b.addLetter("Mixed AADC Letter", L::MixedAadc, e, R::LetterMixedAadc);
    });
}

RateBlock automationFlatBlock(R::Base base) {
    return blockPerEntry(11, base, addAutomationFlats);
}

RateBlock coSackedFlatBlock(R::Base base) {
    BlockBuilder b(12, base);
    b.groupPerEntry([&](R::EntryRow e) { addAutomationFlats(b, e); });
    b.markAutomationEnd();
    b.groupPerEntry([&](R::EntryRow e) { addPresortedFlats(b, e, CoSackedPart::Nonautomation); });
    return b.take();
}

RateBlock periodicalBlock(MailClass mailClass, R::Base base) {
    BlockBuilder b(13, base);
    auto add = [&](std::string_view label, L level, R::PresortLevel row, R::PieceKind kind,
                   CoSackedPart part) {
        b.group(); // every Periodicals line opens its own level
        b.add(label, level, R::NoEntryRow, R::periodicalPiecePlace(row, kind), part);
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
