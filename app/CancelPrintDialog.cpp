#include "app/CancelPrintDialog.h"

#include "app/HelpTopics.h"
#include "core/Convert.h"

namespace quillan {

using platform::ControlKind;
using platform::Geometry;

CancelPrintDialog::CancelPrintDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "CancelPrint", "Printing") {
    bindHelpKey(ctx_, form_, HelpTopic::PrintingBox);
    form_.setFocusControl("OKButton");
    form_.setAbsoluteLayout(true);
    form_.setSize(220, 118);
    form_.add(ControlKind::Label, "Label1", "Printing Page:")
        .setGeometry(Geometry{10, 12, 200, 20});
    form_.add(ControlKind::Label, "Page")
        .setGeometry(Geometry{10, 36, 200, 24})
        .setFont({"Arial", 14, true, false, false});
    auto& cancel = form_.add(ControlKind::Button, "OKButton", "Cancel");
    cancel.setGeometry(Geometry{70, 76, 80, 28}).setDefault(true);
    cancel.onClick = [this] { OKButtonClick(); };
}

void CancelPrintDialog::showPage(int32_t pageNumber) {
    form_.control("Page").setCaption(intToStr(pageNumber));
    form_.show();
}

void CancelPrintDialog::close() {
    form_.hide();
}

void CancelPrintDialog::OKButtonClick() {
    cancelPressed_ = true;
    form_.hide();
}

} // namespace quillan
