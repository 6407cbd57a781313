#include "app/LabelListDialog.h"

#include "app/HelpTopics.h"
#include "app/RunGuarded.h"
#include "core/Convert.h"

namespace quillan {

using namespace platform;

namespace {

constexpr int FormWidth = 560;
constexpr int FieldWidth = FormWidth - 20;

const char* const LineFields[] = {"Label1", "Label2", "Label3"};
const char* const NavigationButtons[] = {"prevbtn", "nextbtn", "newbtn", "CancelBtn"};

const char* const KeepChangeQuestion =
    "This label was changed. Do you want to keep the change? (Yes stores it in the list, No "
    "throws it away.)";

const char* const StarInLineMessage =
    "A label line cannot contain \"*\": the label file uses it to separate the lines of a "
    "label. Remove the \"*\" and press Zip List again.";

// Which of tag lines 2 and 3 a postal list's labels have.
bool showsLine2(int list) {
    return list == 2 || list == 4 || list == 5;
}

bool showsLine3(int list) {
    return list >= 4 && list <= 7;
}

} // namespace

LabelListDialog::LabelListDialog(AppContext& ctx, ZipChartDialog& chartEditor)
    : ctx_(ctx), chartEditor_(chartEditor),
      form_(ctx.platform.ui, "UpdateDlog", "Edit Sack Labels") {
    build();
    bindHelpKey(ctx_, form_, HelpTopic::LabelListEditor);
    form_.onActivate = [this] { FormActivate(); };
    form_.onCloseQuery = [this](ModalResult result) { return mayLeave(result); };
}

void LabelListDialog::addButton(const char* name, const char* caption, int left, int top) {
    form_.add(ControlKind::Button, name, caption).setGeometry(Geometry{left, top, 75, 25});
}

void LabelListDialog::build() {
    form_.setAbsoluteLayout(true);
    form_.setSize(FormWidth, 260);
    form_.add(ControlKind::Label, "Label4", "Select a label to edit:")
        .setGeometry(Geometry{10, 10, FieldWidth, 18});
    int top = 34;
    for (const char* name : LineFields) {
        Control& field =
            form_.add(ControlKind::Edit, name).setGeometry(Geometry{10, top, FieldWidth, 24});
        field.onChange = [this, &field] { labelChange(field); };
        top += 30;
    }
    addButton("prevbtn", "prev", 10, 130);
    addButton("nextbtn", "next", 95, 130);
    addButton("newbtn", "new", 180, 130);
    addButton("revertbtn", "revert", 265, 130);
    form_
        .add(ControlKind::Label, "Label5",
             "Press Zip List to save changes and see the list of zip codes for this label.")
        .setGeometry(Geometry{10, 172, FieldWidth, 18});
    addButton("OKBtn", "Zip List", FormWidth - 255, 222);
    addButton("CancelBtn", "Leave", FormWidth - 170, 222);
    addButton("HelpBtn", "Help", FormWidth - 85, 222);
    form_.control("OKBtn").setDefault(true);
    form_.control("CancelBtn").setModalResult(ModalResult::Cancel);
    form_.control("nextbtn").onClick = [this] { nextbtnClick(); };
    form_.control("prevbtn").onClick = [this] { prevbtnClick(); };
    form_.control("newbtn").onClick = [this] { newbtnClick(); };
    form_.control("revertbtn").onClick = [this] { revertbtnClick(); };
    form_.control("OKBtn").onClick = [this] { OKBtnClick(); };
    form_.control("HelpBtn").onClick = [this] { showHelpTopic(ctx_, HelpTopic::LabelListEditor); };
}

SettingsList& LabelListDialog::labels() {
    return ctx_.lists.*list().labels;
}

void LabelListDialog::configure(int number) {
    const PostalList& chosen = postalList(number); // throws outside 1 to 12
    postalList_ = number;
    form_.setCaption(chosen.editorTitle);
    form_.setTag(number);
    form_.control("Label2").setVisible(showsLine2(number));
    form_.control("Label3").setVisible(showsLine3(number));
}

void LabelListDialog::editPostalList(int number) {
    configure(number);
    form_.showModal();
    ResetLabelEditor();
}

void LabelListDialog::open(int number) {
    configure(number);
    FormActivate();
}

void LabelListDialog::FormActivate() {
    ctx_.platform.help.setHelpFile(ctx_.helpFilePath());
    newEntry_ = false;
    // Line 0 is the list's placeholder; a new entry must never take its place.
    if (labels().empty())
        labels().add("");
    entryCount_ = static_cast<int32_t>(labels().count() - 1);
    current_ = 1;
    showCurrentEntry();
}

void LabelListDialog::ShowSackLabel() {
    EntryLines lines = splitEntry(labels()[current_]);
    form_.control("Label1").setText(lines.line1);
    form_.control("Label2").setText(lines.line2);
    form_.control("Label3").setText(lines.line3);
    // Zone names cannot be changed or added, only their prefixes.
    form_.setFocusControl(zones() ? "OKBtn" : "Label1");
    form_.control("Label1").setReadOnly(zones());
    form_.control("Label4").setVisible(!zones());
    form_.control("OKBtn").setEnabled(true);
    setNavigation(true);
}

// A list with no entry starts a new one; the zones, which take no new entry, offer nothing
// but "Leave".
void LabelListDialog::showEmptyList() {
    for (const char* name : LineFields)
        form_.control(name).setText("");
    form_.control("Label1").setReadOnly(zones());
    form_.control("Label4").setVisible(!zones());
    form_.control("OKBtn").setEnabled(!zones());
    setNavigation(false);
    form_.control("CancelBtn").setEnabled(true);
    newEntry_ = !zones();
    form_.setFocusControl(zones() ? "CancelBtn" : "Label1");
}

void LabelListDialog::setNavigation(bool enabled) {
    for (const char* name : NavigationButtons)
        form_.control(name).setEnabled(enabled);
    if (zones())
        form_.control("newbtn").setEnabled(false);
}

void LabelListDialog::ResetLabelEditor() {
    for (const char* name : {"prevbtn", "nextbtn", "newbtn"})
        form_.control(name).setEnabled(true);
    form_.control("Label4").setCaption("Select a label to edit:");
    form_.control("Label5").setCaption(
        "Press OK to record changes and see the list of changes for this label.");
}

void LabelListDialog::nextbtnClick() {
    current_ = current_ >= entryCount_ ? 1 : current_ + 1;
    newEntry_ = false;
    ShowSackLabel();
}

void LabelListDialog::prevbtnClick() {
    current_ = current_ <= 1 ? entryCount_ : current_ - 1;
    newEntry_ = false;
    ShowSackLabel();
}

void LabelListDialog::revertbtnClick() {
    newEntry_ = false;
    showCurrentEntry();
}

void LabelListDialog::showCurrentEntry() {
    if (entryCount_ < 1)
        showEmptyList();
    else
        ShowSackLabel();
}

void LabelListDialog::newbtnClick() {
    for (const char* name : LineFields)
        form_.control(name).setText("");
    newEntry_ = true;
    form_.setFocusControl("Label1");
    setNavigation(false);
}

// The lines are kept in capitals; an edited entry must be stored or discarded first.
void LabelListDialog::labelChange(Control& field) {
    std::string upper = upperAscii(field.text());
    if (upper != field.text())
        field.setText(upper);
    setNavigation(false);
}

void LabelListDialog::OKBtnClick() {
    runGuarded(ctx_, [this] {
        if (!storeEntry())
            return;
        form_.control("CancelBtn").setEnabled(true);
        chartEditor_.editLabel(postalList_, current_);
        setNavigation(true);
    });
}

EntryLines LabelListDialog::typedLines() {
    EntryLines lines;
    lines.line1 = upperAscii(form_.control("Label1").text());
    lines.line2 = upperAscii(form_.control("Label2").text());
    lines.line3 = upperAscii(form_.control("Label3").text());
    return lines;
}

bool LabelListDialog::changedSinceShown() {
    if (newEntry_)
        return typedLines() != EntryLines{};
    return current_ >= 1 && current_ <= entryCount_ &&
           typedLines() != splitEntry(labels()[current_]);
}

// Leaving by Escape or the close box while an entry is changed asks, as "Leave" (greyed then)
// would have had the person store or revert it: Yes stores it, No throws it away, Cancel
// goes back to it.
bool LabelListDialog::mayLeave(ModalResult result) {
    if (result != ModalResult::Cancel || !changedSinceShown())
        return true;
    switch (ctx_.message(BeepKind::Question, MessageKind::Confirmation, MessageButtons::YesNoCancel,
                         KeepChangeQuestion)) {
    case ModalResult::Yes:
        return storeEntry();
    case ModalResult::No:
        return true;
    default:
        return false;
    }
}

// Stores the fields as the current entry (or appends the new one) and saves the label
// file; false when nothing may go on to the chart editor.
bool LabelListDialog::storeEntry() {
    EntryLines lines = typedLines();
    for (const std::string* line : {&lines.line1, &lines.line2, &lines.line3}) {
        if (line->find('*') == std::string::npos)
            continue;
        ctx_.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok, StarInLineMessage);
        return false;
    }
    std::string entry = joinEntry(lines);
    SettingsList& entries = labels();
    if (newEntry_) {
        // Appended once: a failed save below must not append it again.
        entries.add(entry);
        entryCount_ = static_cast<int32_t>(entries.count() - 1);
        current_ = entryCount_;
        newEntry_ = false;
    } else if (entries[current_] != entry) {
        entries.set(current_, entry);
    }
    try {
        ctx_.saveList(entries, list().labelFile);
    } catch (const FileError& e) {
        ctx_.message(BeepKind::Exclamation, MessageKind::Error, MessageButtons::Ok, e.what());
        return false;
    }
    return true;
}

} // namespace quillan
