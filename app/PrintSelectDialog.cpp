#include "app/PrintSelectDialog.h"

#include "app/AfterSortReports.h"
#include "app/HelpTopics.h"
#include "core/Convert.h"

namespace quillan {

using platform::BeepKind;
using platform::ControlKind;
using platform::Geometry;
using platform::MessageButtons;
using platform::MessageKind;
using platform::ModalResult;

PrintSelectDialog::PrintSelectDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "PrintSelectDlog", "Print Mail Preparation Instructions") {
    bindHelpKey(ctx_, form_, HelpTopic::PrintSelection);
    form_.setFocusControl("OKBtn");
    build();
}

namespace {

// The after-sort reports' boxes stand in two columns, the first filled first.
constexpr int ReportGroupTop = 172;
constexpr int ReportRows = (static_cast<int>(AfterSortReports.size()) + 1) / 2;
constexpr int ReportGroupHeight = 30 + 32 * ReportRows;
constexpr int ButtonTop = ReportGroupTop + ReportGroupHeight + 8;

} // namespace

void PrintSelectDialog::build() {
    form_.setAbsoluteLayout(true);
    form_.setSize(440, ButtonTop + 38);
    buildPrinterGroup();
    buildRangeGroup();
    buildCopyGroup();
    buildReportGroup();
    auto& ok = form_.add(ControlKind::Button, "OKBtn", "Print");
    ok.setGeometry(Geometry{248, ButtonTop, 86, 28})
        .setModalResult(ModalResult::Ok)
        .setDefault(true);
    form_.add(ControlKind::Button, "CancelBtn", "Cancel")
        .setGeometry(Geometry{342, ButtonTop, 90, 28})
        .setModalResult(ModalResult::Cancel);
    form_.onActivate = [this] { FormActivate(); };
}

void PrintSelectDialog::buildPrinterGroup() {
    form_.add(ControlKind::GroupBox, "PrinterSelect", "Printer")
        .setGeometry(Geometry{8, 6, 424, 62});
    form_.add(ControlKind::Label, "printerName", {}, "PrinterSelect")
        .setGeometry(Geometry{10, 24, 300, 30});
    auto& setup = form_.add(ControlKind::Button, "setup", "Page Setup", "PrinterSelect");
    setup.setGeometry(Geometry{320, 24, 94, 28});
    setup.onClick = [this] { setupClick(); };
}

void PrintSelectDialog::buildRangeGroup() {
    form_.add(ControlKind::GroupBox, "PrintRange", "Print Range")
        .setGeometry(Geometry{8, 74, 268, 92});
    auto& all = form_.add(ControlKind::RadioButton, "AllPages", "All pages", "PrintRange");
    all.setGeometry(Geometry{12, 24, 120, 22}).setChecked(true);
    all.onClick = [this] { AllPagesClick(); };
    auto& some = form_.add(ControlKind::RadioButton, "SomePages", "Pages from:", "PrintRange");
    some.setGeometry(Geometry{12, 56, 100, 22});
    some.onClick = [this] { SomePagesClick(); };
    auto& from = form_.add(ControlKind::Edit, "FromPage", {}, "PrintRange");
    from.setGeometry(Geometry{114, 55, 54, 24});
    from.onChange = [this] { ToPageChange(); };
    form_.add(ControlKind::Label, "Label1", "to:", "PrintRange")
        .setGeometry(Geometry{170, 57, 30, 20});
    auto& to = form_.add(ControlKind::Edit, "ToPage", {}, "PrintRange");
    to.setGeometry(Geometry{202, 55, 54, 24});
    to.onChange = [this] { ToPageChange(); };
}

void PrintSelectDialog::buildCopyGroup() {
    form_.add(ControlKind::GroupBox, "CopyBox", "Copies").setGeometry(Geometry{284, 74, 148, 92});
    form_.add(ControlKind::Label, "Label3", "Number of copies:", "CopyBox")
        .setGeometry(Geometry{8, 24, 132, 20});
    // A drop-down that shows one row: the copies printed are always the number in view.
    form_.add(ControlKind::ComboBox, "Copies", {}, "CopyBox")
        .setGeometry(Geometry{40, 50, 68, 26})
        .setItems({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"})
        .setItemIndex(0);
}

void PrintSelectDialog::buildReportGroup() {
    form_.add(ControlKind::GroupBox, "ReportSelect", "Select the Reports to Print")
        .setGeometry(Geometry{8, ReportGroupTop, 424, ReportGroupHeight})
        .setVisible(false);
    int index = 0;
    for (const AfterSortReportEntry& entry : afterSortReportTable()) {
        const int column = index / ReportRows;
        const int row = index % ReportRows;
        form_.add(ControlKind::CheckBox, entry.checkBox, entry.checkBoxCaption, "ReportSelect")
            .setGeometry(Geometry{14 + 214 * column, 26 + 32 * row, entry.checkBoxWidth, 24})
            .setVisible(false);
        ++index;
    }
}

void PrintSelectDialog::showReportChoices(bool shown) {
    for (const AfterSortReportEntry& entry : afterSortReportTable())
        form_.control(entry.checkBox).setVisible(shown);
    form_.control("ReportSelect").setVisible(shown);
    form_.control("CancelBtn").setCaption(shown ? "Skip Printing" : "Cancel");
}

// Emptying the edits comes before choosing "All pages", since an edit that changes
// selects "Pages from:".
void PrintSelectDialog::FormActivate() {
    form_.control("printerName").setCaption(ctx_.platform.printer.printerName());
    form_.control("FromPage").setText("");
    form_.control("ToPage").setText("");
    form_.control("AllPages").setChecked(true);
    form_.control("SomePages").setChecked(false);
    form_.control("Copies").setItemIndex(0);
}

void PrintSelectDialog::setupClick() {
    setUpPrinter(ctx_);
    form_.control("printerName").setCaption(ctx_.platform.printer.printerName());
}

void PrintSelectDialog::AllPagesClick() {
    form_.control("SomePages").setChecked(false);
}

void PrintSelectDialog::SomePagesClick() {
    form_.control("AllPages").setChecked(false);
}

void PrintSelectDialog::ToPageChange() {
    form_.control("SomePages").setChecked(true);
    form_.control("AllPages").setChecked(false);
}

// "All pages" and a half-empty range are always acceptable; otherwise To may not lie
// before From. Texts that are no whole numbers pass here: the dialog closes and the
// conversion after it reports them, so that no error is raised inside the dialog.
bool PrintSelectDialog::rangeAcceptable() const {
    if (form_.control("AllPages").checked())
        return true;
    int32_t from = 0;
    int32_t to = 0;
    if (!tryStrToInt(form_.control("FromPage").text(), from) ||
        !tryStrToInt(form_.control("ToPage").text(), to))
        return true;
    return to >= from;
}

// A range with To before From is refused over the open dialog, which keeps what was
// typed so that it can be put right.
int PrintSelectDialog::RunPrintRangeDialog() {
    form_.onCloseQuery = [this](ModalResult result) {
        if (result != ModalResult::Ok || rangeAcceptable())
            return true;
        ctx_.message(BeepKind::Exclamation, MessageKind::Warning, MessageButtons::Ok,
                     "\"From\" page cannot be higher than \"To\" page.");
        return false;
    };
    ModalResult result = form_.showModal();
    form_.onCloseQuery = nullptr;
    if (result != ModalResult::Ok)
        return 0;
    checkTypedRange();
    if (form_.control("FromPage").text().empty())
        form_.control("FromPage").setText("1");
    if (form_.control("ToPage").text().empty())
        form_.control("ToPage").setText("9999");
    return 1;
}

// Under "Pages from:" with both pages filled, a text that is no whole number ends the
// print command with the conversion's message.
void PrintSelectDialog::checkTypedRange() const {
    if (form_.control("AllPages").checked())
        return;
    const std::string from = form_.control("FromPage").text();
    const std::string to = form_.control("ToPage").text();
    if (from.empty() || to.empty())
        return;
    strToInt(from);
    strToInt(to);
}

int PrintSelectDialog::fromPage() const {
    return strToInt(form_.control("FromPage").text());
}

int PrintSelectDialog::toPage() const {
    return strToInt(form_.control("ToPage").text());
}

int PrintSelectDialog::copyCount() const {
    const auto& copies = form_.control("Copies");
    int row = copies.itemIndex() < 0 ? 0 : copies.itemIndex();
    return strToInt(copies.items().at(static_cast<size_t>(row)));
}

} // namespace quillan
