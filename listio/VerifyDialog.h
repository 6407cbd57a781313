#pragma once

#include "core/AppContext.h"
#include "listio/ListSource.h"
#include "platform/ui/Form.h"

#include <memory>
#include <string>
#include <vector>

namespace quillan {

// "Field Identification for this File": the user confirms or corrects the eleven field
// roles, stepping through the records of the list to see what each field holds. All it
// needs arrives in the lines of its hidden memo Memo1 (kind, path, records, fields and the
// roles in lines 4 to 14) and the roles leave the same way, Finish or Cancel alike; it keeps
// nothing between two showings.
class VerifyDialog {
public:
    explicit VerifyDialog(AppContext& ctx);

    platform::Form& form() { return form_; }
    platform::Control& memo() { return form_.control("Memo1"); }

    // Shows the dialog modally; Finish gives Ok, Cancel gives Cancel.
    platform::ModalResult showModal();

private:
    void build();
    void buildRoleControls();
    void buildViewer();
    void FormActivate();
    void FormClose();
    void nextbtnClick();
    void prevbtnClick();
    void roleChange(size_t role);
    void labelDblClick(size_t role);

    void readExchange();
    void showFields(std::vector<std::string> fields);
    void showRecordLabel();
    void showOutputFields();
    void showCounty();
    bool readRecord(long k);

    AppContext& ctx_;
    platform::Form form_;

    // The copies of the exchange lines while the dialog is open.
    std::string kind_;
    std::string path_;
    long records_ = 0;
    int fieldCount_ = 0;
    std::vector<int> columns_;
    long position_ = 0;
    std::unique_ptr<ListSource> source_;
};

} // namespace quillan
