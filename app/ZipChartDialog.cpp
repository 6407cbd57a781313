#include "app/ZipChartDialog.h"

#include "app/HelpTopics.h"
#include "app/RunGuarded.h"
#include "core/ChartAssignment.h"
#include "core/Convert.h"
#include "core/ZipRanges.h"

namespace quillan {

using namespace platform;

namespace {

constexpr int FormWidth = 560;
constexpr int FieldWidth = FormWidth - 20;

} // namespace

ZipChartDialog::ZipChartDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "EditZipsDlog", "Edit Zip Codes") {
    build();
    bindHelpKey(ctx_, form_, HelpTopic::ZipChartEditor);
    form_.onClose = [this] { FormClose(); };
}

void ZipChartDialog::build() {
    form_.setAbsoluteLayout(true);
    form_.setSize(FormWidth, 190);
    form_.add(ControlKind::Label, "Label1", "Zips for: ")
        .setGeometry(Geometry{10, 12, FieldWidth, 20})
        .setFont({"Arial", 11, true, false, false});
    form_.add(ControlKind::Edit, "ZipList").setGeometry(Geometry{10, 38, FieldWidth, 24});
    form_.add(ControlKind::Label, "Label2", "Unique City Zips:")
        .setGeometry(Geometry{10, 74, FieldWidth, 18});
    form_.add(ControlKind::Edit, "UniqueList").setGeometry(Geometry{10, 96, FieldWidth, 24});
    // Finish is the default and the cancel button alike: Enter and Esc both store.
    form_.add(ControlKind::Button, "OKBtn", "Finish")
        .setModalResult(ModalResult::Ok)
        .setDefault(true)
        .setGeometry(Geometry{FormWidth - 255, 150, 75, 25})
        .onClick = [this] { OKBtnClick(); };
    form_.add(ControlKind::Button, "revertbtn", "revert")
        .setGeometry(Geometry{FormWidth - 170, 150, 75, 25})
        .onClick = [this] { runGuarded(ctx_, [this] { ShowZipRanges(); }); };
    form_.add(ControlKind::Button, "HelpBtn", "Help")
        .setGeometry(Geometry{FormWidth - 85, 150, 75, 25})
        .onClick = [this] { showHelpTopic(ctx_, HelpTopic::ZipChartEditor); };
}

SettingsList& ZipChartDialog::chart() {
    return ctx_.lists.*list().chart;
}

void ZipChartDialog::load(int postalList, int32_t label) {
    postalList_ = postalList;
    label_ = label;
    form_.setTag(label);
    bool withUnique = chartMarksOf(postalList_) == ChartMarks::UniqueCities;
    form_.control("Label2").setVisible(withUnique);
    form_.control("UniqueList").setVisible(withUnique);
    const SettingsList& labels = ctx_.lists.*list().labels;
    form_.control("Label1").setCaption("Zips for: " + firstLine(labelText(labels, label_)));
    ShowZipRanges();
}

void ZipChartDialog::editLabel(int postalList, int32_t label) {
    load(postalList, label);
    ctx_.platform.help.setHelpFile(ctx_.helpFilePath());
    form_.showModal();
}

void ZipChartDialog::ShowZipRanges() {
    ZipRangeText text = zipRangesForLabel(chart(), label_);
    form_.control("ZipList").setText(text.ranges);
    form_.control("UniqueList").setText(text.marked);
    form_.setFocusControl("ZipList");
}

void ZipChartDialog::OKBtnClick() {
    if (!SaveZipRanges())
        form_.setModalResult(ModalResult::None);
}

void ZipChartDialog::FormClose() {
    if (!SaveZipRanges())
        form_.setModalResult(ModalResult::None);
}

bool ZipChartDialog::SaveZipRanges() {
    std::vector<int> prefixes;
    std::vector<int> unique;
    try {
        prefixes = parseZipRanges(form_.control("ZipList").text());
        if (form_.control("UniqueList").visible())
            unique = parsePrefixList(form_.control("UniqueList").text());
    } catch (const std::exception& e) {
        ctx_.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok, e.what());
        return false;
    }
    // A chart that cannot be read is not the person's doing: say so and let the dialog
    // close with the chart as it was.
    runGuarded(ctx_, [&] {
        SettingsList edited = chart();
        assignPrefixes(edited, label_, prefixes, unique, chartMarksOf(postalList_));
        storeChart(std::move(edited));
    });
    return true;
}

// The edited chart is the program's at once; a file that cannot be written is reported and
// the program goes on with the edited chart.
void ZipChartDialog::storeChart(SettingsList edited) {
    SettingsList& stored = chart();
    stored = std::move(edited);
    try {
        ctx_.saveList(stored, list().chartFile);
    } catch (const FileError& e) {
        ctx_.message(BeepKind::Exclamation, MessageKind::Error, MessageButtons::Ok, e.what());
    }
}

} // namespace quillan
