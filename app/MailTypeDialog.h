#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillan {

// The mail category settings (mailtype.dat): class and processing category, rate and size
// category, piece weight, pieces in a 5-inch stack with the tray figures derived from it,
// and the sack weight limit. The first page of the Sort Wizard.
class MailTypeDialog {
public:
    explicit MailTypeDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Shows the dialog until its entries pass or it is cancelled; as a wizard page when
    // wizard is 1. Returns 1 when the entries were saved, 0 when cancelled.
    int EditMailCategories(int wizard);

    // Sets captions, choices and enabled states from the chosen mail type, size and rate.
    void UpdateMailTypeControls();

private:
    void build();
    void addChoices();
    void addHelpPanels();
    void loadControls();
    void FormActivate();

    void resetControls();
    void keepRateAllowed(int bracketed);
    void fixSize(int mailType);
    void updateLetterControls(int mailType);
    void UpdateMailTypeWeightControls(int mailType, bool letter);
    void fixWeightChoice();

    std::optional<std::string> checkEntries() const;
    std::optional<std::string> checkSackMax() const;
    std::optional<std::string> checkWeight() const;
    std::string missingWeightMessage() const;
    bool readStack(int32_t& stack) const;
    void saveEntries();

    int item(const char* name) const { return form_.control(name).itemIndex(); }
    std::string text(const char* name) const { return form_.control(name).text(); }

    AppContext& ctx_;
    platform::Form form_;
    int rateChosenBefore_ = 0;
};

} // namespace quillan
