#pragma once

#include "app/AppContext.h"
#include "listio/FieldChooser.h"
#include "listio/ListSource.h"
#include "platform/ui/Form.h"

#include <memory>
#include <string>
#include <vector>

namespace quillan {

// "Field Identification for this File": the person confirms or corrects the eleven field
// roles, stepping through the records of the list to see what each field holds. It keeps
// nothing between two lists.
class VerifyDialog : public FieldChooser {
public:
    explicit VerifyDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Shows the dialog modally with the proposal; Finish gives the roles as they stand then.
    std::optional<FieldRoles> confirm(const FieldProposal& proposal) override;
    // Fills the dialog with the proposal as showing it does, without waiting for anybody.
    void present(const FieldProposal& proposal);

private:
    void build();
    void buildRoleControls();
    void buildViewer();
    void FormActivate();
    void nextbtnClick();
    void prevbtnClick();
    void roleChange(size_t role);
    void labelDblClick(size_t role);

    void showFields(std::vector<std::string> fields);
    void showRecordLabel();
    void showOutputFields();
    void showCounty();
    bool readRecord(long k);

    AppContext& ctx_;
    platform::Form form_;

    // The proposal being confirmed and the roles as the person has them now.
    FieldProposal proposal_;
    long position_ = 0;
    // The proposal's source, or one of the dialog's own for a proposal that brings none.
    ListSource* source_ = nullptr;
    std::unique_ptr<ListSource> ownSource_;
};

} // namespace quillan
