#include "app/PeriodicalDialog.h"

#include "app/DialogPage.h"
#include "app/HelpTopics.h"
#include "core/Convert.h"
#include "core/NumberText.h"

namespace quillan {

using namespace platform;

namespace {

const char* const helpText =
    "These settings are used only for Periodicals mail. The advertising percentage is the "
    "share of the publication's space given to advertising; it decides how much of the "
    "postage is charged by zone. The pieces per tray/sack minimum is the smallest number of "
    "pieces Quillan puts in a tray or sack of its own.";

} // namespace

PeriodicalDialog::PeriodicalDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "PeriodicalDlog", "Periodicals Settings") {
    bindHelpKey(ctx_, form_, HelpTopic::PeriodicalsSettings);
    form_.setFocusControl("NewsPer");
    build();
}

void PeriodicalDialog::build() {
    addHeading(form_, "Settings for Periodical Mail",
               "If you are not mailing periodicals, you do not need to fill out this form.");
    form_.add(ControlKind::RadioGroup, "NewsPer", "Frequency of Publication:")
        .setItems({"Once or more each week", "Less than once each week"});
    form_.add(ControlKind::Edit, "AdPer", "Advertising Percentage:");
    form_.add(ControlKind::Label, "AdPerHint", "(Round to 2 decimal places.)");
    form_.add(ControlKind::RadioGroup, "RatePer", "Rate Category:")
        .setItems({"Regular", "Classroom", "Nonprofit", "Science of Ag."});
    form_.add(ControlKind::CheckBox, "InCounty", "Use In-County Rates");
    form_.add(ControlKind::Label, "InCountyNote",
              "Rules for in-county rates are complicated. Please check with your postmaster "
              "before selecting this option.");
    form_.add(ControlKind::Edit, "county", "County code:");
    form_.add(ControlKind::RadioGroup, "bagpc", "Pieces per tray/sack:")
        .setItems({"6", "24"})
        .setColumns(2);
    addHelpPanel(form_, "HelpPanel", helpText);
    addPageButtons(form_, "okbtn");
}

int PeriodicalDialog::EditPeriodicalSettings(int wizard) {
    loadControls();
    showPageButtons(form_, "okbtn", wizard);
    return showPageUntilValid(
        ctx_, form_, [this] { return checkEntries(); }, [this] { saveEntries(); });
}

void PeriodicalDialog::loadControls() {
    using L = PeriodicalSettings;
    const PeriodicalSettings& list = ctx_.lists.periodicalList;
    form_.control("NewsPer").setItemIndex(list.numberAt(L::Frequency));
    form_.control("AdPer").setText(list[L::AdvertisingPercent]);
    form_.control("RatePer").setItemIndex(list.numberAt(L::RateCategory));
    form_.control("InCounty").setChecked(list.inCountyRates());
    form_.control("county").setText(list[L::County]);
    form_.control("bagpc").setItemIndex(list[L::ContainerMinimum] == "6" ? 0 : 1);
}

std::optional<std::string> PeriodicalDialog::checkEntries() const {
    double percent = 0;
    if (!parseUnsignedDecimal(form_.control("AdPer").text(), percent) || percent > 100.0)
        return "\"Advertising Percentage\" must be between 0 and 100.";
    if (form_.control("InCounty").checked() && form_.control("county").text().empty())
        return "\"County code\" must be filled in if in-county rates are selected.";
    return std::nullopt;
}

// Rewrites per.dat; the list in memory takes the new lines only once the file holds them.
void PeriodicalDialog::saveEntries() {
    using L = PeriodicalSettings;
    PeriodicalSettings list = ctx_.lists.periodicalList;
    list.set(L::Frequency, intToStr(form_.control("NewsPer").itemIndex()));
    list.set(L::AdvertisingPercent, form_.control("AdPer").text());
    list.set(L::RateCategory, intToStr(form_.control("RatePer").itemIndex()));
    list.setInCountyRates(form_.control("InCounty").checked());
    list.set(L::County, form_.control("county").text());
    list.set(L::ContainerMinimum, form_.control("bagpc").itemIndex() == 1 ? "24" : "6");
    ctx_.saveList(list, PeriodicalSettings::FileName);
    ctx_.lists.periodicalList = std::move(list);
}

} // namespace quillan
