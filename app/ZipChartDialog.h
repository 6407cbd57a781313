#pragma once

#include "app/AppContext.h"
#include "core/PostalCharts.h"
#include "platform/ui/Form.h"

#include <cstdint>

namespace quillan {

// "Edit Zip Codes": the 3-digit prefixes one label of a postal list's chart holds, as
// ranges a person retypes ("001-005, 010"); for the 3-digit list also its unique-city
// prefixes. Every close (Finish, Enter, Esc, the close box) stores the typed prefixes in the
// chart and saves the chart file; typed text that cannot be read keeps the dialog open and
// the chart as it was.
class ZipChartDialog {
public:
    explicit ZipChartDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Shows the dialog for a label of postal list 1 to 12 until it closes.
    void editLabel(int postalList, int32_t label);
    // Fills the dialog for the label from the stored chart, without showing it.
    void load(int postalList, int32_t label);

private:
    void build();
    void ShowZipRanges();
    void OKBtnClick();
    void FormClose();
    // False when the typed text cannot be read: the dialog then stays open.
    bool SaveZipRanges();
    void storeChart(SettingsList edited);
    const PostalList& list() const { return postalList(postalList_); }
    SettingsList& chart();

    AppContext& ctx_;
    platform::Form form_;
    int postalList_ = 1;
    int32_t label_ = 1;
};

} // namespace quillan
