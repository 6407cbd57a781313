#include "app/VerifyDialog.h"

#include "app/HelpTopics.h"
#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/ListFormat.h"

#include <array>

namespace quillan {

using platform::ControlKind;
using platform::Geometry;
using platform::ModalResult;

namespace {

const char* instructions =
    "Quillan has attempted to identify several fields in your data file, as shown below.  If "
    "it has done so correctly, click Finish.  Otherwise, use the drop-down lists below to match "
    "the field names with the correct fields in your data base. To clear any field, "
    "double-click on the NAME of the field (not in the box itself.)";
const char* viewerNote = "The fields shown in the drop-down lists are from the first record in "
                         "your file. Use these buttons to view additional data.";
const char* cityNote = "These fields are only needed if you have enough pieces for any 5-digit "
                       "zip code to fill a tray or sack.";
const char* optionalNote =
    "These fields are optional. Identify a tray/sack# field to add tray or sack numbers to your "
    "mailing list, a package# field for package numbers, and an endorsement line field to add "
    "endorsement lines (like ****** 3D 487).";
const char* sortOrderBlankNote = "If left blank, new fields will be added for tray/sack numbers, "
                                 "package numbers, and optional endorsement lines.";

// Each role's combo, its label and where they sit: the input roles in the left column of
// the form, the four output roles in the output frame. In the order of FieldRoles::all.
struct RoleControls {
    const char* combo;
    const char* label;
    const char* caption;
    const char* parent;
    int top;
};
constexpr std::array<RoleControls, 11> roleControls{{
    {"zip", "zipLabel", "a Zip Code field:", "", 140},
    {"zip5", "zip5Label", "a 5-digit Zip Code field", "", 172},
    {"zip4", "zip4Label", "a +4 Zip Code Field", "", 204},
    {"city", "cityLabel", "a City field:", "", 236},
    {"state", "stateLabel", "a State field:", "", 268},
    {"citystate", "cityStLabel", "a \"City, State\" field:", "", 300},
    {"sort", "sortLabel", "Sort Order field:", "OutputFrame", 20},
    {"tray", "trayLabel", "Tray/Sack# field:", "OutputFrame", 52},
    {"pkg", "pkgLabel", "Package# field:", "OutputFrame", 84},
    {"oel", "oelLabel", "Optional Endorsement Line field:", "OutputFrame", 116},
    {"county", "countyLabel", "County field:", "", 332},
}};

int& column(FieldRoles& roles, size_t role) {
    return roles.*FieldRoles::all[role];
}

// Which roles exclude each other outright, whatever their columns.
bool excludes(const std::string& changed, const std::string& other) {
    if (changed == "zip")
        return other == "zip5" || other == "zip4";
    if (changed == "zip5" || changed == "zip4")
        return other == "zip";
    if (changed == "city" || changed == "state")
        return other == "citystate";
    if (changed == "citystate")
        return other == "city" || other == "state";
    return false;
}

std::string trimForDisplay(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

} // namespace

VerifyDialog::VerifyDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "VerifyDlog", "Field Identification for this File") {
    build();
    bindHelpKey(ctx_, form_, HelpTopic::FieldIdentification);
}

void VerifyDialog::build() {
    form_.setAbsoluteLayout(true);
    form_.setSize(660, 600);
    form_.add(ControlKind::Memo, "Instructions")
        .setLines({instructions})
        .setReadOnly(true)
        .setGeometry({8, 8, 644, 70});
    form_.add(ControlKind::Label, "IdentifiedLabel", "Quillan has identified this file as:")
        .setGeometry({8, 86, 300, 18});
    form_.add(ControlKind::Label, "fileTypeLabel").setGeometry({8, 106, 230, 18});
    form_.add(ControlKind::Label, "NewRecordsLabel").setGeometry({240, 106, 170, 18});
    buildViewer();
    form_.add(ControlKind::Memo, "CityNote")
        .setLines({cityNote})
        .setReadOnly(true)
        .setGeometry({424, 268, 228, 72});
    form_.add(ControlKind::GroupBox, "OutputFrame").setGeometry({8, 372, 644, 168});
    form_.add(ControlKind::Memo, "optional", "", "OutputFrame")
        .setLines({optionalNote})
        .setReadOnly(true)
        .setGeometry({424, 20, 212, 124});
    form_.add(ControlKind::Memo, "sortOrderBlank", "", "OutputFrame")
        .setLines({sortOrderBlankNote})
        .setReadOnly(true)
        .setGeometry({424, 20, 212, 124});
    buildRoleControls();
    auto& ok = form_.add(ControlKind::Button, "OKBtn", "Finish");
    ok.setModalResult(ModalResult::Ok).setDefault(true).setGeometry({480, 556, 80, 28});
    form_.add(ControlKind::Button, "CancelBtn", "Cancel")
        .setModalResult(ModalResult::Cancel)
        .setGeometry({572, 556, 80, 28});
    form_.onActivate = [this] { FormActivate(); };
}

void VerifyDialog::buildViewer() {
    form_.add(ControlKind::GroupBox, "RecordViewer", "Record Viewer")
        .setGeometry({424, 86, 228, 176});
    form_.add(ControlKind::Memo, "ViewerNote", "", "RecordViewer")
        .setLines({viewerNote})
        .setReadOnly(true)
        .setGeometry({8, 20, 212, 96});
    form_.add(ControlKind::Label, "RecordSelectedLabel", "Record Selected:", "RecordViewer")
        .setGeometry({8, 120, 110, 18});
    form_.add(ControlKind::Label, "CurrentRecordLabel", "", "RecordViewer")
        .setGeometry({120, 120, 100, 18});
    auto& prev = form_.add(ControlKind::Button, "prevbtn", "prev", "RecordViewer");
    prev.setGeometry({8, 142, 70, 26}).setEnabled(false);
    prev.onClick = [this] { prevbtnClick(); };
    auto& next = form_.add(ControlKind::Button, "nextbtn", "next", "RecordViewer");
    next.setGeometry({84, 142, 70, 26});
    next.onClick = [this] { nextbtnClick(); };
}

void VerifyDialog::buildRoleControls() {
    for (size_t i = 0; i < roleControls.size(); ++i) {
        const RoleControls& role = roleControls[i];
        auto& label = form_.add(ControlKind::Label, role.label, role.caption, role.parent);
        label.setGeometry({8, role.top + 2, 200, 20});
        label.onDoubleClick = [this, i] { labelDblClick(i); };
        auto& combo = form_.add(ControlKind::ComboBox, role.combo, "", role.parent);
        combo.setGeometry({212, role.top, 200, 24});
        combo.onChange = [this, i] { roleChange(i); };
    }
}

void VerifyDialog::present(const FieldProposal& proposal) {
    proposal_ = proposal;
    proposal_.records = std::max(0L, proposal_.records);
    proposal_.fieldCount = std::max(0, proposal_.fieldCount);
    FormActivate();
}

std::optional<FieldRoles> VerifyDialog::confirm(const FieldProposal& proposal) {
    proposal_ = proposal;
    proposal_.records = std::max(0L, proposal_.records);
    proposal_.fieldCount = std::max(0, proposal_.fieldCount);
    // Finish with roles that cannot be read with is refused over the open dialog.
    form_.onCloseQuery = [this](ModalResult result) {
        return result != ModalResult::Ok || !proposal_.accepts ||
               proposal_.accepts(proposal_.roles);
    };
    ModalResult result = form_.showModal();
    form_.onCloseQuery = nullptr;
    ownSource_.reset();
    source_ = nullptr;
    if (result == ModalResult::Cancel)
        return std::nullopt;
    return proposal_.roles;
}

void VerifyDialog::FormActivate() {
    const FieldProposal& p = proposal_;
    form_.control("prevbtn").setEnabled(false);
    form_.setCaption(p.path);
    form_.control("fileTypeLabel").setCaption(std::string("Format: ") + p.format->name);
    form_.control("NewRecordsLabel").setCaption(intToStr(p.records) + " Records");
    position_ = p.format->firstRowIsRecord ? 1 : 0;
    form_.control("nextbtn").setEnabled(position_ < p.records);
    ownSource_.reset();
    source_ = p.source;
    if (!source_ && p.format->reopen) {
        try {
            ownSource_ = p.format->reopen(*p.format, p.path, p.fieldCount);
            source_ = ownSource_.get();
        } catch (const std::exception&) {
            // The roles can still be chosen by number; the viewer just has nothing to show.
        }
    }
    if (position_ == 1)
        readRecord(1);
    else
        showFields(source_ ? source_->fieldNames() : std::vector<std::string>{});
    showRecordLabel();
    showOutputFields();
    showCounty();
}

void VerifyDialog::showFields(std::vector<std::string> fields) {
    fields.resize(static_cast<size_t>(proposal_.fieldCount));
    for (auto& f : fields)
        f = trimForDisplay(f);
    for (size_t i = 0; i < roleControls.size(); ++i) {
        auto& combo = form_.control(roleControls[i].combo);
        combo.setItems(fields);
        combo.setItemIndex(column(proposal_.roles, i));
    }
}

bool VerifyDialog::readRecord(long k) {
    ListRecord record;
    bool ok = false;
    try {
        ok = source_ && source_->read(k, proposal_.fieldCount, record);
    } catch (const std::exception&) {
        ok = false;
    }
    showFields(ok ? record.fields : std::vector<std::string>{});
    return ok;
}

void VerifyDialog::showRecordLabel() {
    form_.control("CurrentRecordLabel")
        .setCaption(position_ == 0 ? std::string("Field List") : "Record " + intToStr(position_));
}

void VerifyDialog::showOutputFields() {
    bool intoList = ctx_.lists.prefsList.writesIntoList();
    bool text = proposal_.format->text;
    for (const char* name : {"tray", "pkg", "oel", "trayLabel", "pkgLabel", "oelLabel"})
        form_.control(name).setVisible(intoList);
    form_.control("sort").setVisible(intoList && !text);
    form_.control("sortLabel").setVisible(intoList && !text);
    form_.control("optional").setVisible(intoList && !text);
    form_.control("sortOrderBlank").setVisible(intoList && text);
    form_.control("OutputFrame").setVisible(intoList);
}

void VerifyDialog::showCounty() {
    bool shown = inCountyRates(ctx_.lists);
    form_.control("county").setVisible(shown);
    form_.control("countyLabel").setVisible(shown);
}

void VerifyDialog::nextbtnClick() {
    if (position_ < proposal_.records)
        readRecord(position_ + 1);
    else
        return;
    ++position_;
    showRecordLabel();
    form_.control("nextbtn").setEnabled(position_ < proposal_.records);
    form_.control("prevbtn").setEnabled(true);
}

void VerifyDialog::prevbtnClick() {
    long k = position_;
    if (k >= 2) {
        readRecord(k - 1);
        position_ = k - 1;
    } else if (k == 1 && !proposal_.format->firstRowIsRecord) {
        showFields(source_ ? source_->fieldNames() : std::vector<std::string>{});
        position_ = 0;
    }
    showRecordLabel();
    form_.control("nextbtn").setEnabled(true);
    form_.control("prevbtn").setEnabled(position_ > (proposal_.format->firstRowIsRecord ? 1 : 0));
}

void VerifyDialog::roleChange(size_t role) {
    FieldRoles& roles = proposal_.roles;
    int chosen = form_.control(roleControls[role].combo).itemIndex();
    column(roles, role) = chosen;
    for (size_t other = 0; other < roleControls.size(); ++other) {
        if (other == role)
            continue;
        bool clash = chosen >= 0 && column(roles, other) == chosen;
        if (clash || excludes(roleControls[role].combo, roleControls[other].combo)) {
            column(roles, other) = -1;
            form_.control(roleControls[other].combo).setItemIndex(-1);
        }
    }
}

void VerifyDialog::labelDblClick(size_t role) {
    column(proposal_.roles, role) = -1;
    form_.control(roleControls[role].combo).setItemIndex(-1);
}

} // namespace quillan
