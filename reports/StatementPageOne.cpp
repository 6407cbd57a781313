#include "reports/StatementPageOne.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"
#include "core/postage/RateBlocks.h"
#include "core/presort/PresortRules.h"
#include "reports/StatementDigits.h"

namespace quillan {

namespace {

// Places of the coordinate file (place n: entries 2n-1 and 2n).
enum Place : int {
    HolderName = 1,
    HolderPhone = 2,
    PeriodicalRateTick = 5,
    PostOffice = 6,
    PermitNumber = 7, // Periodicals: the advertising percentage
    PaymentTick = 8,  // Periodicals: the publication title
    ProcessingTick = 9,
    MailingDate = 10,
    PieceWeight = 11,
    Pieces = 12,
    TotalWeight = 13,
    Containers = 14,
    WeightClassTick = 15,
    CassDate = 16,
    Signer = 23,
    SignerPhone = 24,
    Facsimile = 25,
    ProgramLine = 26,
};

constexpr int FieldSize = 10;
constexpr int TickSize = 8;
constexpr int RateTickSize = 6; // also the processing ticks of Periodicals, 7 pt apart
constexpr int TrayCountSize = 9;
constexpr const char* Tick = "x";

class PageOneFields {
public:
    PageOneFields(const SortedMailing& mailing, const FormLayout& layout,
                  const StatementHeader& header)
        : mailing_(mailing), layout_(layout), header_(header), mailClass_(mailing.mailClass()),
          heavyLetters_(mailClass_ == MailClass::RAL &&
                        hasPoundRatedWeight(mailClass_, mailing.mailType())) {}

    std::vector<StatementText> texts();

private:
    void at(int place, double dx, double dy, std::string text, int size = FieldSize) {
        if (text.empty())
            return;
        texts_.push_back(StatementText::at(layout_.x(place) + dx, layout_.y(place) + dy,
                                           std::move(text), StatementText::Left, size));
    }
    // Boxes at offsets from a place, one text each.
    void boxes(int place, const std::vector<double>& offsets,
               const std::vector<std::string>& values) {
        for (size_t i = 0; i < offsets.size() && i < values.size(); ++i)
            at(place, offsets[i], 0, values[i]);
    }
    const std::string& statementLine(long line) const { return mailing_.statement().at(line); }

    void addPeriodicalHeader();
    void addHolder();
    void addPayment();
    void addProcessingTicks();
    void addPieceWeight();
    void addPiecesAndWeight();
    void addContainers();
    void addWeightClass();
    void addCassDate();

    const SortedMailing& mailing_;
    const FormLayout& layout_;
    const StatementHeader& header_;
    MailClass mailClass_;
    bool heavyLetters_;
    std::vector<StatementText> texts_;
};

std::vector<StatementText> PageOneFields::texts() {
    if (mailClass_.isPeriodicals())
        addPeriodicalHeader();
    addHolder();
    addPayment();
    addProcessingTicks();
    at(MailingDate, 0, 0, header_.today);
    addPieceWeight();
    addPiecesAndWeight();
    addContainers();
    addWeightClass();
    addCassDate();
    at(Signer, 0, 0, statementLine(StatementSettings::SignerName));
    at(SignerPhone, 0, 0, statementLine(StatementSettings::SignerPhone));
    for (StatementText& footer : footerTexts(layout_, header_))
        texts_.push_back(std::move(footer));
    return std::move(texts_);
}

// The rate category tick (Regular, Classroom, Nonprofit, Science of Agriculture lie 15, 0,
// 7 and 22 points down), the publication, the publisher's city and the advertising share.
void PageOneFields::addPeriodicalHeader() {
    constexpr double categoryDy[] = {15, 0, 7, 22};
    int32_t category = mailing_.periodical().rateCategory();
    if (category >= 0 && category <= 3)
        at(PeriodicalRateTick, 0, categoryDy[category], Tick, RateTickSize);
    at(PaymentTick, 0, 0, mailing_.mailer().at(MailerSettings::PublicationName));
    const MailerSettings& mailer = mailing_.mailer();
    at(PostOffice, 0, 12, mailer.city());
    at(PostOffice, 0, 24, mailer.state());
    at(PostOffice, 0, 36, mailer.zip());
    boxes(PermitNumber, {0, 18, 41, 59},
          advertisingDigits(mailing_.periodical().advertisingPercent()));
}

void PageOneFields::addHolder() {
    at(HolderName, 0, 0, statementLine(StatementSettings::HolderLine1));
    if (!mailClass_.isPeriodicals()) {
        at(HolderName, 0, 12, statementLine(StatementSettings::HolderLine2));
        at(HolderName, 0, 24, statementLine(StatementSettings::HolderLine3));
        at(HolderPhone, 0, 0, statementLine(StatementSettings::HolderPhone));
    }
    at(PostOffice, 0, 0, statementLine(StatementSettings::PostOffice));
}

// The permit number, or the tick of meter or stamps.
void PageOneFields::addPayment() {
    if (mailClass_.isPeriodicals())
        return;
    if (mailing_.statement().permitImprint()) {
        at(PermitNumber, 0, 0, statementLine(StatementSettings::PermitNumber));
        return;
    }
    if (heavyLetters_)
        return;
    bool meter = statementLine(StatementSettings::Payment) == "1";
    at(PaymentTick, 0, meter ? 0 : 11, Tick, TickSize);
}

void PageOneFields::addProcessingTicks() {
    std::vector<double> dys;
    switch (mailClass_.value()) {
    case MailClass::RNAF:
        dys = {11};
        break;
    case MailClass::RAF:
        dys = {22};
        break;
    case MailClass::RCOF:
        dys = {11, 22};
        break;
    case MailClass::PNAF:
        dys = {7};
        break;
    case MailClass::PAF:
        dys = {14};
        break;
    case MailClass::PCOF:
        dys = {7, 14};
        break;
    case MailClass::None:
        break;
    default: // letters
        if (!heavyLetters_)
            dys = {0};
        break;
    }
    int size = mailClass_.isPeriodicals() ? RateTickSize : TickSize;
    for (double dy : dys)
        at(ProcessingTick, 0, dy, Tick, size);
}

void PageOneFields::addPieceWeight() {
    const MailTypeSettings& mailType = mailing_.mailType();
    if (!hasExactWeight(mailClass_, mailType))
        return;
    bool periodicals = mailClass_.isPeriodicals();
    std::vector<double> offsets = {0, 17, 34, 51};
    if (periodicals)
        offsets.push_back(68);
    boxes(PieceWeight, offsets, pieceWeightDigits(mailType.pieceWeight(), periodicals));
}

void PageOneFields::addPiecesAndWeight() {
    if (mailClass_.isPeriodicals())
        return;
    at(Pieces, 0, 0, intToStr(mailing_.pieceCount()));
    const MailTypeSettings& mailType = mailing_.mailType();
    if (hasExactWeight(mailClass_, mailType))
        at(TotalWeight, 0, 0,
           totalWeightText(poundsOf(mailing_.pieceCount(), mailType.pieceWeight())));
}

// Letters in mm trays count their one-foot trays: those holding no more than a one-foot
// tray of the mailing's full tray.
void PageOneFields::addContainers() {
    const MailTypeSettings& mailType = mailing_.mailType();
    int32_t containers = static_cast<int32_t>(mailing_.containers().size());
    int32_t oneFoot = 0;
    for (const Container& tray : mailing_.containers())
        if (tray.pieces <= oneFootTray(mailType.fullTray()))
            ++oneFoot;
    std::string count = intToStr(containers);
    if (mailClass_.isFlats()) {
        at(Containers, 0, 0, count);
        at(Containers, 0, 12, "sacks");
    } else if (!mailType.mmTrays()) {
        at(Containers, 0, 0, count);
        at(Containers, 0, 12, "EMM trays");
    } else if (heavyLetters_) {
        at(Containers, 0, 0,
           "1' MM: " + intToStr(oneFoot) + "  2' MM: " + intToStr(containers - oneFoot));
    } else {
        // Three lines 11 pt apart: a size smaller, so that they do not run into each other.
        at(Containers, 0, 0, count, TrayCountSize);
        at(Containers, -30, 11, "1-Ft MM trays: " + intToStr(oneFoot), TrayCountSize);
        at(Containers, -30, 22, "2-Ft MM trays: " + intToStr(containers - oneFoot), TrayCountSize);
    }
}

// Standard flats: up to 1.92 oz, or over.
void PageOneFields::addWeightClass() {
    if (!mailClass_.isStandard() || !mailClass_.isFlats())
        return;
    const MailTypeSettings& mailType = mailing_.mailType();
    bool over = mailType.hasExactWeight() && mailType.pieceWeight() > 1.92;
    at(WeightClassTick, over ? 39 : 0, 0, Tick);
}

void PageOneFields::addCassDate() {
    if (!mailClass_.isAutomation() && !mailClass_.isCoSacked())
        return;
    const StatementSettings& s = mailing_.statement();
    boxes(CassDate, {0, 15, 35, 52, 70, 89, 106, 123},
          cassDateCharacters(s.at(StatementSettings::CassMonth), s.at(StatementSettings::CassDay),
                             s.at(StatementSettings::CassYear)));
}

} // namespace

std::vector<StatementText> pageOneFieldTexts(const SortedMailing& mailing, const FormLayout& layout,
                                             const StatementHeader& header) {
    return PageOneFields(mailing, layout, header).texts();
}

std::vector<StatementText> footerTexts(const FormLayout& layout, const StatementHeader& header) {
    auto footer = [&](int place, const std::string& text) {
        return StatementText::at(layout.x(place), layout.y(place), text, StatementText::Left, 8);
    };
    return {footer(Facsimile, "Facsimile"), footer(ProgramLine, header.programLine)};
}

} // namespace quillan
