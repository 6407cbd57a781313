#include "app/PrefDialog.h"

#include "app/DialogPage.h"
#include "app/HelpTopics.h"
#include "core/Convert.h"

namespace quillan {

using namespace platform;

namespace {

// Each preference group and the line it is kept in.
struct PreferenceGroup {
    const char* name;
    Preferences::Line line;
};
const PreferenceGroup groups[] = {{"rejectRpt", Preferences::RejectListing},
                                  {"PrefOutput", Preferences::Output},
                                  {"prefStandard", Preferences::SeparateFileName},
                                  {"OutFormat", Preferences::SeparateFormat},
                                  {"zip9only", Preferences::RejectWithoutZip4}};

const char* const helpText =
    "Saving the sort information in your file adds the sort sequence, tray or sack and "
    "package numbers to every record. A separate file holds the same information apart from "
    "your list. Rejecting ZIP codes without ZIP+4 keeps automation mailings at their rates.";

} // namespace

PrefDialog::PrefDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "PrefDlog", "Preferences") {
    bindHelpKey(ctx_, form_, HelpTopic::Preferences);
    form_.setFocusControl("rejectRpt");
    build();
}

void PrefDialog::build() {
    addHeading(form_, "Quillan Options", "These settings determine how Quillan operates. ");
    form_.add(ControlKind::RadioGroup, "rejectRpt", "Print a listing of rejected zips?")
        .setItems({"Yes", "No"})
        .setColumns(2);
    form_.add(ControlKind::Label, "OutputNote",
              "Of the 3 choices in the next box, most users should choose the 1st. Choose the "
              "2nd if you are using Quillan with Filemaker Pro. Choose the 3rd if you want to "
              "print reports, but not sort your list.");
    form_.add(ControlKind::RadioGroup, "PrefOutput", "What to do with sorting information?")
        .setItems({"Save it in my file.", "Put it in a separate file.",
                   "Don't create it. Just create printouts."})
        .onClick = [this] { UpdateOutputOptions(); };
    form_.add(ControlKind::RadioGroup, "prefStandard", "Name for the separate file (if used):")
        .setItems({"Name it \"QLsort1.txt\".", "Let me name it."});
    form_.add(ControlKind::RadioGroup, "OutFormat", "Format of separate file (if used):")
        .setItems({"Ascii comma-delimited", "Ascii tab-delimited"});
    form_.add(ControlKind::RadioGroup, "zip9only", "Reject zips w/o zip4 in auto mailings?")
        .setItems({"Yes", "No"})
        .setColumns(2);
    addHelpPanel(form_, "HelpPanel", helpText);
    addPageButtons(form_, "okbtn", "Fi&nish");
    form_.onActivate = [this] { UpdateOutputOptions(); };
}

int PrefDialog::EditPreferences(int wizard) {
    for (const PreferenceGroup& group : groups)
        form_.control(group.name).setItemIndex(ctx_.lists.prefsList.numberAt(group.line));
    showPageButtons(form_, "okbtn", wizard);
    int page = pageResult(form_.showModal());
    if (page != 0)
        saveEntries();
    return page;
}

void PrefDialog::UpdateOutputOptions() {
    bool separateFile = form_.control("PrefOutput").itemIndex() == 1;
    form_.control("prefStandard").setEnabled(separateFile);
    form_.control("OutFormat").setEnabled(separateFile);
}

// Rewrites prefs.dat; the print choices and the last list stay as they are.
void PrefDialog::saveEntries() {
    Preferences list = ctx_.lists.prefsList;
    for (const PreferenceGroup& group : groups)
        list.set(group.line, intToStr(form_.control(group.name).itemIndex()));
    ctx_.saveList(list, Preferences::FileName);
    ctx_.lists.prefsList = std::move(list);
}

} // namespace quillan
