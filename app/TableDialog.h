#pragma once

#include "app/AppContext.h"
#include "listio/TableChooser.h"
#include "platform/ui/Form.h"

namespace quillan {

// The table selector: "Table Selector" for an Access database, "Sheet Selector" for an
// Excel workbook. The person double-clicks the table or sheet that holds the mailing list;
// Cancel chooses none.
class TableDialog : public TableChooser {
public:
    explicit TableDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    std::optional<size_t> choose(const ListFormat& format,
                                 const std::vector<std::string>& names) override;
    // Fills the dialog for a format and names as showing it does, without waiting for
    // anybody.
    void present(const ListFormat& format, const std::vector<std::string>& names);

private:
    void FormActivate();
    void TablesGridDblClick();

    platform::Form form_;
    const ListFormat* format_ = nullptr;
    std::vector<std::string> names_;
    std::optional<size_t> chosen_;
};

} // namespace quillan
