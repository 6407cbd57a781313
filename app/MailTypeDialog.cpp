#include "app/MailTypeDialog.h"

#include "app/DialogPage.h"
#include "app/HelpTopics.h"
#include "core/Convert.h"
#include "core/NumberText.h"

#include <cmath>
#include <limits>

namespace quillan {

using namespace platform;

namespace {

enum MailTypes {
    StandardMachinableLetter = 0,
    StandardNonmachinableLetter = 1,
    StandardNonautomationFlat = 2,
    StandardAutomation = 3,
    StandardCoSackedFlat = 4,
    PeriodicalNonautomation = 5,
    PeriodicalAutomation = 6,
    PeriodicalCoSackedFlat = 7,
    FirstClassAutomationLetter = 8,
};

enum RateCategories { Regular = 0, Card = 1, Nonprofit = 2 };
enum Sizes { Letter = 0, Flat = 1 };

const std::vector<std::string> rateCaptions = {"Regular", "Card", "Nonprofit"};
const char* const emmCaption = "emm - oversize";

bool isPeriodicals(int mailType) {
    return mailType >= PeriodicalNonautomation && mailType <= PeriodicalCoSackedFlat;
}

// The tray figures derive from the 5-inch stack in extended precision, truncated, as the
// presort has always read them: a 21-inch tray holds 4.2 stacks (4.35 in an emm tray).
long double trayFactor(bool emm) {
    return emm ? 4.35L : 4.2L;
}

int64_t piecesInTray(int32_t stack, bool emm) {
    return static_cast<int64_t>(std::trunc(stack * trayFactor(emm) + 0.0001L));
}

int64_t packageFigure(int32_t stack, bool emm) {
    return static_cast<int64_t>(std::trunc(stack * (emm ? 3.48L : 3.36L))) + 2;
}

int32_t stackOfTray(int32_t piecesInTray, bool emm) {
    return static_cast<int32_t>(std::trunc(piecesInTray / trayFactor(emm) - 0.0001L)) + 1;
}

struct WeightCap {
    double ounces;
    const char* message;
};

std::optional<WeightCap> weightCap(int mailType, int size) {
    static const WeightCap standard{16, "Weight of standard class mail cannot exceed 16 ounces."};
    static const WeightCap automationLetters{
        3.5, "Weight of standard automation letters cannot exceed 3.5 ounces."};
    static const WeightCap periodicalFlats{96,
                                           "Weight of periodical flats cannot exceed 96 ounces."};
    static const WeightCap periodicalLetters{
        3.3, "Weight of periodicals automation letters cannot exceed 3.3 ounces."};
    static const WeightCap firstClassLetters{
        3.3, "Weight of first class automation letters cannot exceed 3.3 ounces."};
    switch (mailType) {
    case StandardMachinableLetter:
    case StandardNonmachinableLetter:
    case StandardNonautomationFlat:
    case StandardCoSackedFlat:
        return standard;
    case StandardAutomation:
        return size == Letter ? automationLetters : periodicalFlats;
    case PeriodicalAutomation:
    case PeriodicalCoSackedFlat:
        return size == Letter ? periodicalLetters : periodicalFlats;
    case FirstClassAutomationLetter:
        return size == Letter ? firstClassLetters : periodicalFlats;
    default:
        return std::nullopt;
    }
}

const char* const weightHelp =
    "Weight: choose the minimum-weight button when every piece weighs no more than it shows; "
    "otherwise type the exact weight of one piece in ounces. Tray type: mm trays are the "
    "standard letter trays, emm trays the oversize ones. Pieces in a 5-inch stack: count the "
    "pieces in a stack five inches high; Quillan works out how many fill a tray. Max. pounds "
    "per sack: the heaviest sack you will make up, 40 to 70 pounds.";
const char* const categoryHelp =
    "Rate category: Nonprofit needs an authorization from your post office; Card applies to "
    "First-Class postcards. Size category: letters are sorted into trays, flats into sacks.";
const char* const classHelp =
    "Processing category and class: choose the class of your permit and how the pieces can be "
    "processed. Automation pieces carry a barcode; co-sacked flats share sacks with "
    "automation flats; machinable letters can run on sorting machines.";

} // namespace

MailTypeDialog::MailTypeDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "MailTypeDlog", "Mailing Categories") {
    bindHelpKey(ctx_, form_, HelpTopic::MailCategories);
    form_.setFocusControl("MailType");
    build();
}

void MailTypeDialog::build() {
    addHeading(form_, "Categories For Your Mailing",
               "Since each type of mail is sorted differently, you must select the correct "
               "categories or your mail may not be accepted.");
    form_.add(ControlKind::Panel, "Body").setColumns(2);
    form_.add(ControlKind::Panel, "ClassPanel", {}, "Body");
    form_.add(ControlKind::Panel, "WeightPanel", {}, "Body");
    addChoices();
    addHelpPanels();
    addPageButtons(form_, "okBtn");
    form_.onActivate = [this] { FormActivate(); };
}

void MailTypeDialog::addChoices() {
    std::string panel = "ClassPanel";
    auto group = [this, &panel](const char* name, const char* caption,
                                std::vector<std::string> items, int columns) -> Control& {
        Control& g = form_.add(ControlKind::RadioGroup, name, caption, panel);
        g.setItems(std::move(items)).setColumns(columns);
        return g;
    };
    group("MailType", "Processing Category and Class:",
          {"Standard Machinable Letter", "Standard Nonmachinable Letter",
           "Standard Nonautomation Flat", "Standard Automation Ltr/Flt", "Standard Co-Sacked Flat",
           "Periodical Nonautomation Ltr/Flt", "Periodical Automation Ltr/Flt",
           "Periodical Co-Sacked Flat", "First Class Automation Letter"},
          1)
        .onClick = [this] { UpdateMailTypeControls(); };
    group("RegNon", "Rate Category:", rateCaptions, 2).onClick = [this] {
        UpdateMailTypeControls();
    };
    group("LtrFlt", "Size Category:", {"Letter", "Flat"}, 2).onClick = [this] {
        UpdateMailTypeControls();
    };
    panel = "WeightPanel";
    group("WtMin", "Weight of each piece (ounces):", {"", ""}, 2);
    form_.add(ControlKind::Edit, "PcWt", {}, panel).onChange = [this] {
        form_.control("WtMin").setItemIndex(1);
    };
    group("TrayType", "Tray Type:", {"mm (standard)", "emm (oversize)"}, 2).onClick = [this] {
        UpdateMailTypeControls();
    };
    form_.add(ControlKind::Edit, "stack", "Pieces in a 5-inch stack:", panel);
    form_.add(ControlKind::Edit, "sackMax", "Max. pounds per sack:", panel);
}

void MailTypeDialog::addHelpPanels() {
    addHelpPanel(form_, "WeightHelp", weightHelp, "WeightPanel");
    form_.add(ControlKind::Panel, "HelpPanels").setColumns(2);
    addHelpPanel(form_, "CategoryHelp", categoryHelp, "HelpPanels");
    addHelpPanel(form_, "ClassHelp", classHelp, "HelpPanels");
}

int MailTypeDialog::EditMailCategories(int wizard) {
    loadControls();
    showPageButtons(form_, "okBtn", wizard);
    form_.control("backBtn").setEnabled(false);
    // Back is disabled on the first page: any page that is not cancelled goes forward.
    int page = showPageUntilValid(
        ctx_, form_, [this] { return checkEntries(); }, [this] { saveEntries(); });
    return page == 0 ? 0 : 1;
}

void MailTypeDialog::loadControls() {
    using L = MailTypeSettings;
    const MailTypeSettings& list = ctx_.lists.mailTypeList;
    form_.control("MailType").setItemIndex(list.numberAt(L::Category));
    form_.control("RegNon").setItemIndex(list.numberAt(L::RateCategory));
    form_.control("LtrFlt").setItemIndex(list.numberAt(L::SizeCategory));
    form_.control("WtMin").setItemIndex(list.numberAt(L::WeightChoice));
    form_.control("PcWt").setText(list[L::PieceWeight]);
    bool emm = list[L::TrayType] == "1";
    form_.control("stack").setText(intToStr(stackOfTray(list.numberAt(L::FullTray), emm)));
    form_.control("TrayType").setItemIndex(list.numberAt(L::TrayType));
    form_.control("sackMax").setText(list[L::SackMaxPounds]);
}

void MailTypeDialog::FormActivate() {
    rateChosenBefore_ = item("RegNon");
    UpdateMailTypeControls();
}

void MailTypeDialog::UpdateMailTypeControls() {
    int mailType = item("MailType");
    resetControls();
    if (isPeriodicals(mailType))
        form_.control("RegNon").setEnabled(false);
    else if (mailType == FirstClassAutomationLetter)
        keepRateAllowed(Nonprofit);
    else
        keepRateAllowed(Card);
    fixSize(mailType);
    bool letter = item("LtrFlt") == Letter;
    bool flatRule = isPeriodicals(mailType) || (!letter && mailType != FirstClassAutomationLetter);
    if (flatRule)
        UpdateMailTypeWeightControls(mailType, letter);
    else
        updateLetterControls(mailType);
    rateChosenBefore_ = item("RegNon");
}

// Every control as it stands when no rule of the mail type says otherwise.
void MailTypeDialog::resetControls() {
    Control& rates = form_.control("RegNon");
    for (int i = 0; i < static_cast<int>(rateCaptions.size()); ++i)
        rates.setItem(i, rateCaptions[static_cast<size_t>(i)]);
    rates.setEnabled(true);
    form_.control("LtrFlt").setEnabled(true);
    form_.control("WtMin").setEnabled(true);
    form_.control("TrayType").setEnabled(true).setItem(1, emmCaption);
    enableEdit(form_.control("PcWt"), true);
    enableEdit(form_.control("stack"), true);
    enableEdit(form_.control("sackMax"), false);
}

// The rate the mail type does not allow is shown in brackets and cannot stay chosen.
void MailTypeDialog::keepRateAllowed(int bracketed) {
    Control& rates = form_.control("RegNon");
    rates.setItem(bracketed, "[" + rateCaptions[static_cast<size_t>(bracketed)] + "]");
    if (rates.itemIndex() != bracketed)
        return;
    bool before = rateChosenBefore_ >= 0 && rateChosenBefore_ != bracketed;
    rates.setItemIndex(before ? rateChosenBefore_ : Regular);
}

void MailTypeDialog::fixSize(int mailType) {
    Control& size = form_.control("LtrFlt");
    switch (mailType) {
    case StandardMachinableLetter:
    case StandardNonmachinableLetter:
    case FirstClassAutomationLetter:
        size.setItemIndex(Letter).setEnabled(false);
        break;
    case StandardNonautomationFlat:
    case StandardCoSackedFlat:
    case PeriodicalCoSackedFlat:
        size.setItemIndex(Flat).setEnabled(false);
        break;
    default:
        break;
    }
}

void MailTypeDialog::fixWeightChoice() {
    form_.control("WtMin").setItemIndex(0).setEnabled(false);
    enableEdit(form_.control("PcWt"), false);
}

// Standard and First-Class letters: trays, no sacks.
void MailTypeDialog::updateLetterControls(int mailType) {
    bool firstClass = mailType == FirstClassAutomationLetter;
    form_.control("WtMin").setItem(0, firstClass ? "1.0 or less" : "3.3 or less");
    if (mailType == StandardMachinableLetter)
        fixWeightChoice();
    if (firstClass && item("RegNon") == Card) {
        fixWeightChoice();
        form_.control("TrayType").setItemIndex(0).setEnabled(false).setItem(1, "[emm]");
    }
}

// Flat-sized Standard pieces, and every Periodicals choice: Periodicals always give the
// exact weight, flats go in sacks rather than trays.
void MailTypeDialog::UpdateMailTypeWeightControls(int mailType, bool letter) {
    Control& weightChoice = form_.control("WtMin");
    if (isPeriodicals(mailType)) {
        weightChoice.setItem(0, "").setItemIndex(1).setEnabled(false);
        if (letter)
            return;
    } else {
        weightChoice.setItem(0, "1.92 or less");
    }
    enableEdit(form_.control("sackMax"), true);
    form_.control("TrayType").setEnabled(false);
}

// The first refused entry, or nothing when everything passes. Nothing is stored before
// every check has passed.
std::optional<std::string> MailTypeDialog::checkEntries() const {
    int32_t stack = 0;
    if (!readStack(stack))
        return "\"Pieces in a 5-inch stack\" must be filled in.";
    if (item("LtrFlt") == Flat)
        if (auto problem = checkSackMax())
            return problem;
    if (item("WtMin") == 1 || isPeriodicals(item("MailType")))
        return checkWeight();
    return std::nullopt;
}

// A stack of at least one piece whose tray figures fit the presort's numbers. Flats are
// checked as well: their package split divides by the stack.
bool MailTypeDialog::readStack(int32_t& stack) const {
    if (!parseUnsignedWhole(text("stack"), stack) || stack < 1)
        return false;
    return piecesInTray(stack, true) <= std::numeric_limits<int32_t>::max();
}

std::optional<std::string> MailTypeDialog::checkSackMax() const {
    int32_t pounds = 0;
    if (!parseUnsignedWhole(text("sackMax"), pounds) || pounds < 1)
        return "\"Max. pounds per sack\" must be filled in.";
    if (pounds > 70)
        return "Maximum pounds per sack cannot exceed 70 pounds.";
    if (pounds < 40)
        return "Maximum pounds per sack must be at least 40 pounds.";
    return std::nullopt;
}

std::optional<std::string> MailTypeDialog::checkWeight() const {
    double ounces = 0;
    if (!parseUnsignedDecimal(text("PcWt"), ounces) || !(ounces > 0.0))
        return missingWeightMessage();
    auto cap = weightCap(item("MailType"), item("LtrFlt"));
    if (cap && ounces > cap->ounces)
        return std::string(cap->message);
    return std::nullopt;
}

std::string MailTypeDialog::missingWeightMessage() const {
    if (isPeriodicals(item("MailType")))
        return "Piece weight must be filled in.";
    return "Piece weight must be filled in, or the \"" + form_.control("WtMin").items()[0] +
           "\" button must be selected.";
}

// Rewrites mailtype.dat; the list in memory takes the new lines only once the file holds
// them.
void MailTypeDialog::saveEntries() {
    int32_t stack = 0;
    readStack(stack);
    bool emm = item("TrayType") == 1;
    using L = MailTypeSettings;
    MailTypeSettings list = ctx_.lists.mailTypeList;
    list.set(L::Category, intToStr(item("MailType")));
    list.set(L::RateCategory, intToStr(item("RegNon")));
    list.set(L::SizeCategory, intToStr(item("LtrFlt")));
    list.set(L::WeightChoice, intToStr(item("WtMin")));
    list.set(L::PieceWeight, text("PcWt"));
    list.set(L::FullTray, intToStr(piecesInTray(stack, emm)));
    list.set(L::TrayType, intToStr(item("TrayType")));
    list.set(L::SackMaxPounds, text("sackMax"));
    if (item("LtrFlt") == Letter)
        list.set(L::PackageFigure, intToStr(packageFigure(stack, emm)));
    ctx_.saveList(list, MailTypeSettings::FileName);
    ctx_.lists.mailTypeList = std::move(list);
}

} // namespace quillan
