#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <optional>
#include <string>

namespace quillan {

// The mailer information (mailer.dat): the entry post office with the kind of office that
// takes the mailing, and the texts for the reports. While the ZIP is typed, the choices
// name the SCF and the DBMC, ADC or AADC that serve it. The second page of the Sort Wizard.
class MailerInfoDialog {
public:
    explicit MailerInfoDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Shows the dialog until the ZIP has all five digits or it is cancelled; as a wizard
    // page when wizard is 1. Returns 1 (OK, Next), -1 (Back) or 0 (Cancel).
    int EditMailerInfo(int wizard);

    // Rewrites the captions of the SCF and DBMC/ADC/AADC choices for the ZIP in the box.
    void MlrZipChange();

    // The text without the characters "0" to "9".
    static std::string StripDigits(const std::string& text);

private:
    void build();
    void addPostOfficeBoxes();
    void addReportBoxes();
    void loadControls();
    std::optional<std::string> checkEntries() const;
    void saveEntries();
    void zipChanged();
    std::string discountCaption(int prefix, const std::string& zip) const;
    std::string dbmcCaption(int prefix, const std::string& zip) const;
    std::string adcCaption(int prefix, const std::string& zip) const;

    AppContext& ctx_;
    platform::Form form_;
};

} // namespace quillan
