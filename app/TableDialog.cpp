#include "app/TableDialog.h"

#include "app/HelpTopics.h"
#include "listio/ListFormat.h"

#include <cctype>

namespace quillan {

using platform::ControlKind;
using platform::ModalResult;

TableDialog::TableDialog(AppContext& ctx) : form_(ctx.platform.ui, "TableDlog", "Table Selector") {
    bindHelpKey(ctx, form_, HelpTopic::TableSelector);
    form_.setAbsoluteLayout(true);
    form_.setSize(380, 336);
    form_.add(ControlKind::Label, "Label1").setGeometry({12, 10, 356, 20});
    form_.add(ControlKind::Label, "Label2").setGeometry({12, 34, 356, 20});
    // One column of names, fifteen rows in sight.
    auto& grid = form_.add(ControlKind::ListBox, "TablesGrid");
    grid.setGeometry({88, 62, 204, 226});
    grid.onDoubleClick = [this] { TablesGridDblClick(); };
    form_.add(ControlKind::Button, "CancelBtn", "Cancel")
        .setModalResult(ModalResult::Cancel)
        .setGeometry({150, 298, 80, 28});
    form_.onActivate = [this] { FormActivate(); };
}

std::optional<size_t> TableDialog::choose(const ListFormat& format,
                                          const std::vector<std::string>& names) {
    format_ = &format;
    names_ = names;
    chosen_.reset();
    form_.showModal();
    return chosen_;
}

void TableDialog::present(const ListFormat& format, const std::vector<std::string>& names) {
    format_ = &format;
    names_ = names;
    chosen_.reset();
    FormActivate();
}

void TableDialog::FormActivate() {
    const std::string part = format_->partName;
    std::string caption = part + " Selector";
    caption[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(caption[0])));
    form_.setCaption(caption);
    form_.control("Label1").setCaption("The database you selected has more than one " + part + ".");
    form_.control("Label2").setCaption("Double-click on the " + part + " you would like to sort:");
    auto& grid = form_.control("TablesGrid");
    grid.setItems(names_);
    grid.setItemIndex(names_.empty() ? -1 : 0);
}

void TableDialog::TablesGridDblClick() {
    const int row = form_.control("TablesGrid").itemIndex();
    if (row < 0 || static_cast<size_t>(row) >= names_.size() || names_[row].empty())
        return;
    chosen_ = static_cast<size_t>(row);
    form_.setModalResult(ModalResult::Ok);
}

} // namespace quillan
