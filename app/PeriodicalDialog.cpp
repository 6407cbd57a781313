#include "app/PeriodicalDialog.h"

#include "app/DialogPage.h"
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
    for (;;) {
        int page = pageResult(form_.showModal());
        if (page == 0)
            return 0;
        if (auto problem = checkEntries()) {
            warnEntry(ctx_, *problem);
            continue;
        }
        saveEntries();
        return page;
    }
}

void PeriodicalDialog::loadControls() {
    const SettingsList& list = ctx_.lists.PeriodicalList;
    form_.control("NewsPer").setItemIndex(strToInt(list[1]));
    form_.control("AdPer").setText(list[2]);
    form_.control("RatePer").setItemIndex(strToInt(list[3]));
    form_.control("InCounty").setChecked(list[4] == "t");
    form_.control("county").setText(list[5]);
    form_.control("bagpc").setItemIndex(list[6] == "6" ? 0 : 1);
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
    SettingsList list = ctx_.lists.PeriodicalList;
    list.set(1, intToStr(form_.control("NewsPer").itemIndex()));
    list.set(2, form_.control("AdPer").text());
    list.set(3, intToStr(form_.control("RatePer").itemIndex()));
    list.set(4, form_.control("InCounty").checked() ? "t" : "f");
    list.set(5, form_.control("county").text());
    list.set(6, form_.control("bagpc").itemIndex() == 1 ? "24" : "6");
    ctx_.saveList(list, "per.dat");
    ctx_.lists.PeriodicalList = std::move(list);
}

} // namespace quillan
