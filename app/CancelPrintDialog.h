#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <cstdint>

namespace quillan {

// The small "Printing" box shown beside a printing report: it names the page being
// printed, and its Cancel button asks the report to stop at its next page.
class CancelPrintDialog {
public:
    explicit CancelPrintDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Shows the box (not modal) with the page number in its Page label.
    void showPage(int32_t pageNumber);
    void close();

    // Whether Cancel was pressed since the last clearCancel.
    bool cancelPressed() const { return cancelPressed_; }
    void clearCancel() { cancelPressed_ = false; }

private:
    void OKButtonClick();

    AppContext& ctx_;
    platform::Form form_;
    bool cancelPressed_ = false;
};

} // namespace quillan
