#include "listio/VerifyDialog.h"

#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/FieldRoles.h"
#include "listio/ListKinds.h"

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

// Where each role's label and combo sit: the input roles in the left column of the form,
// the four output roles in the output frame.
struct RolePlace {
    const char* parent;
    int top;
};
const RolePlace rolePlaces[] = {
    {"", 140}, {"", 172},           {"", 204},           {"", 236},           {"", 268},
    {"", 300}, {"OutputFrame", 20}, {"OutputFrame", 52}, {"OutputFrame", 84}, {"OutputFrame", 116},
    {"", 332},
};

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
}

void VerifyDialog::build() {
    form_.setAbsoluteLayout(true);
    form_.setSize(660, 600);
    form_.add(ControlKind::Memo, "Memo1").setGeometry({0, 0, 10, 10}).setVisible(false);
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
        .setGeometry({424, 252, 228, 72});
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
        .setGeometry({424, 86, 228, 160});
    form_.add(ControlKind::Memo, "ViewerNote", "", "RecordViewer")
        .setLines({viewerNote})
        .setReadOnly(true)
        .setGeometry({8, 20, 212, 62});
    form_.add(ControlKind::Label, "RecordSelectedLabel", "Record Selected:", "RecordViewer")
        .setGeometry({8, 88, 110, 18});
    form_.add(ControlKind::Label, "CurrentRecordLabel", "", "RecordViewer")
        .setGeometry({120, 88, 100, 18});
    auto& prev = form_.add(ControlKind::Button, "prevbtn", "prev", "RecordViewer");
    prev.setGeometry({8, 114, 70, 26}).setEnabled(false);
    prev.onClick = [this] { prevbtnClick(); };
    auto& next = form_.add(ControlKind::Button, "nextbtn", "next", "RecordViewer");
    next.setGeometry({84, 114, 70, 26});
    next.onClick = [this] { nextbtnClick(); };
}

void VerifyDialog::buildRoleControls() {
    const auto& roles = fieldRoles();
    for (size_t i = 0; i < roles.size(); ++i) {
        const RolePlace& place = rolePlaces[i];
        auto& label = form_.add(ControlKind::Label, roles[i].label, roles[i].caption, place.parent);
        label.setGeometry({8, place.top + 2, 200, 20});
        label.onDoubleClick = [this, i] { labelDblClick(i); };
        auto& combo = form_.add(ControlKind::ComboBox, roles[i].combo, "", place.parent);
        combo.setGeometry({212, place.top, 200, 24});
        combo.onChange = [this, i] { roleChange(i); };
    }
}

platform::ModalResult VerifyDialog::showModal() {
    ModalResult result = form_.showModal();
    FormClose();
    return result;
}

void VerifyDialog::readExchange() {
    const auto& lines = memo().lines();
    auto line = [&](size_t n) { return n < lines.size() ? lines[n] : std::string(); };
    auto number = [&](size_t n) {
        int32_t v = -1;
        return tryStrToInt(line(n), v) ? v : -1;
    };
    kind_ = line(0);
    path_ = line(1);
    records_ = std::max(0, number(2));
    fieldCount_ = std::max(0, number(3));
    columns_.assign(fieldRoles().size(), -1);
    for (size_t i = 0; i < columns_.size(); ++i)
        columns_[i] = number(FirstRoleLine + i);
}

void VerifyDialog::FormActivate() {
    form_.control("prevbtn").setEnabled(false);
    readExchange();
    form_.setCaption(path_);
    form_.control("fileTypeLabel").setCaption("Format: " + kind_);
    form_.control("NewRecordsLabel").setCaption(intToStr(records_) + " Records");
    position_ = startsWithRecord(kind_) ? 1 : 0;
    form_.control("nextbtn").setEnabled(position_ < records_);
    source_.reset();
    try {
        source_ = openListSource(kind_, path_, fieldCount_);
    } catch (const std::exception&) {
        // The roles can still be chosen by number; the viewer just has nothing to show.
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
    fields.resize(static_cast<size_t>(fieldCount_));
    for (auto& f : fields)
        f = trimForDisplay(f);
    const auto& roles = fieldRoles();
    for (size_t i = 0; i < roles.size(); ++i) {
        auto& combo = form_.control(roles[i].combo);
        combo.setItems(fields);
        combo.setItemIndex(columns_[i]);
    }
}

bool VerifyDialog::readRecord(long k) {
    ListRecord record;
    bool ok = false;
    try {
        ok = source_ && source_->read(k, fieldCount_, record);
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
    bool intoList = ctx_.lists.PrefsList[2] == "0";
    bool text = isTextKind(kind_);
    for (const char* name : {"tray", "pkg", "oel", "trayLabel", "pkgLabel", "oelLabel"})
        form_.control(name).setVisible(intoList);
    form_.control("sort").setVisible(intoList && !text);
    form_.control("sortLabel").setVisible(intoList && !text);
    form_.control("optional").setVisible(intoList && !text);
    form_.control("sortOrderBlank").setVisible(intoList && text);
    form_.control("OutputFrame").setVisible(intoList);
}

void VerifyDialog::showCounty() {
    bool shown = inCountyRates(ctx_);
    form_.control("county").setVisible(shown);
    form_.control("countyLabel").setVisible(shown);
}

void VerifyDialog::nextbtnClick() {
    if (position_ < records_)
        readRecord(position_ + 1);
    else
        return;
    ++position_;
    showRecordLabel();
    form_.control("nextbtn").setEnabled(position_ < records_);
    form_.control("prevbtn").setEnabled(true);
}

void VerifyDialog::prevbtnClick() {
    long k = position_;
    if (k >= 2) {
        readRecord(k - 1);
        position_ = k - 1;
    } else if (k == 1 && !startsWithRecord(kind_)) {
        showFields(source_ ? source_->fieldNames() : std::vector<std::string>{});
        position_ = 0;
    }
    showRecordLabel();
    form_.control("nextbtn").setEnabled(true);
    form_.control("prevbtn").setEnabled(position_ > (startsWithRecord(kind_) ? 1 : 0));
}

void VerifyDialog::roleChange(size_t role) {
    const auto& roles = fieldRoles();
    int column = form_.control(roles[role].combo).itemIndex();
    columns_[role] = column;
    for (size_t other = 0; other < roles.size(); ++other) {
        if (other == role)
            continue;
        bool clash = column >= 0 && columns_[other] == column;
        if (clash || excludes(roles[role].combo, roles[other].combo)) {
            columns_[other] = -1;
            form_.control(roles[other].combo).setItemIndex(-1);
        }
    }
}

void VerifyDialog::labelDblClick(size_t role) {
    columns_[role] = -1;
    form_.control(fieldRoles()[role].combo).setItemIndex(-1);
}

void VerifyDialog::FormClose() {
    source_.reset();
    std::vector<std::string> lines = memo().lines();
    lines.resize(std::max(lines.size(), FirstRoleLine + columns_.size()));
    for (size_t i = 0; i < columns_.size(); ++i)
        lines[FirstRoleLine + i] = intToStr(columns_[i]);
    memo().setLines(std::move(lines));
}

} // namespace quillan
