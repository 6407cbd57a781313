#pragma once

#include "app/AppContext.h"
#include "app/ZipChartDialog.h"
#include "core/PostalCharts.h"
#include "platform/ui/Form.h"

#include <cstdint>

namespace quillan {

// "Edit Sack Labels": walks through the entries of a postal list's label file, lets the
// person change an entry's tag lines or add one, saves the label file at each "Zip List"
// and then opens the ZIP chart editor for the entry. An entry being edited can only be
// stored ("Zip List") or discarded ("revert") before moving on; Escape and the close box,
// which stand for "Leave", ask whether to keep the change.
class LabelListDialog {
public:
    LabelListDialog(AppContext& ctx, ZipChartDialog& chartEditor);

    platform::Form& form() { return form_; }

    // Edit Postal Lists > list n (1 to 12): runs the dialog until "Leave".
    void editPostalList(int number);
    // Sets the dialog up for list n and shows its first entry, without showing the dialog.
    void open(int number);

private:
    void build();
    void addButton(const char* name, const char* caption, int left, int top);
    void configure(int number);
    void FormActivate();
    void ShowSackLabel();
    // The current entry, or the empty list's start when there is none.
    void showCurrentEntry();
    void showEmptyList();
    void ResetLabelEditor();
    void nextbtnClick();
    void prevbtnClick();
    void revertbtnClick();
    void newbtnClick();
    void labelChange(platform::Control& field);
    void OKBtnClick();
    bool storeEntry();
    // The fields as typed, in capitals, and whether they differ from the entry they show.
    EntryLines typedLines();
    bool changedSinceShown();
    bool mayLeave(platform::ModalResult result);
    void setNavigation(bool enabled);
    bool zones() const { return postalList_ == 12; }
    const PostalList& list() const { return postalList(postalList_); }
    SettingsList& labels();

    AppContext& ctx_;
    ZipChartDialog& chartEditor_;
    platform::Form form_;
    int postalList_ = 1;
    int32_t entryCount_ = 0;
    int32_t current_ = 1;
    bool newEntry_ = false;
};

} // namespace quillan
