#include "app/MailerInfoDialog.h"

#include "app/DialogPage.h"
#include "app/HelpTopics.h"
#include "app/RunGuarded.h"
#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <algorithm>
#include <cstdlib>

namespace quillan {

using namespace platform;

namespace {

const char* const helpText =
    "Type the city, state and 5-digit ZIP code of the post office where you will take the "
    "mailing, then choose which kind of office it is: a local carrier station, the SCF (the "
    "sectional center facility), or the bulk mail center (Standard and First-Class) or ADC "
    "(Periodicals) that serves the ZIP code. Entering the mail at the SCF or the bulk mail "
    "center can earn entry discounts. The company name, ID number and publication title are "
    "printed on the rate qualification report.";

bool isFiveDigits(const std::string& zip) {
    if (zip.size() != 5)
        return false;
    for (char c : zip)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The label text after its first n characters.
std::string after(const std::string& text, size_t n) {
    return text.substr(std::min(n, text.size()));
}

} // namespace

MailerInfoDialog::MailerInfoDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "MlrInfoDlog", "Mailer Information") {
    bindHelpKey(ctx_, form_, HelpTopic::MailerInformation);
    form_.setFocusControl("MlrCity");
    build();
}

void MailerInfoDialog::build() {
    addHeading(form_, "You and Your Post Office",
               "Mail is sorted differently depending on where it is mailed from, so the "
               "information on this form must be correct.");
    form_.add(ControlKind::Panel, "Body").setColumns(2);
    addPostOfficeBoxes();
    addReportBoxes();
    addPageButtons(form_, "okbtn");
    form_.onActivate = [this] { zipChanged(); };
}

void MailerInfoDialog::addPostOfficeBoxes() {
    const std::string box = "PostOfficeBox";
    form_.add(ControlKind::GroupBox, box, "Post Office At Which Pieces Will Be Mailed:", "Body");
    form_.add(ControlKind::Edit, "MlrCity", "City:", box);
    form_.add(ControlKind::Edit, "MlrState", "State:", box);
    Control& zip = form_.add(ControlKind::Edit, "MlrZip", "Zip:", box);
    zip.setMaxLength(5);
    zip.onChange = [this] { zipChanged(); };
    form_.add(ControlKind::Label, "ZipHint", "(All 5 digits required.)", box);
    form_.add(ControlKind::RadioGroup, "MlrSend", "Select type of post office:", "Body")
        .setItems({"a local carrier station", "", ""});
}

void MailerInfoDialog::addReportBoxes() {
    const std::string box = "ReportBox";
    form_.add(ControlKind::GroupBox, box, "Information for the Qualification Report:");
    form_.add(ControlKind::Edit, "MlrCompany", "Company Name:", box);
    form_.add(ControlKind::Edit, "MlrID", "ID Number for This Mailing (if used):", box);
    form_.add(ControlKind::Edit, "MlrPubName", "Publication Title (Periodicals Only)::", box);
    addHelpPanel(form_, "HelpPanel", helpText);
}

int MailerInfoDialog::EditMailerInfo(int wizard) {
    loadControls();
    showPageButtons(form_, "okbtn", wizard);
    return showPageUntilValid(
        ctx_, form_, [this] { return checkEntries(); }, [this] { saveEntries(); });
}

std::optional<std::string> MailerInfoDialog::checkEntries() const {
    if (!isFiveDigits(form_.control("MlrZip").text()))
        return "The zip code must have all 5 digits.";
    return std::nullopt;
}

void MailerInfoDialog::loadControls() {
    using L = MailerSettings;
    const MailerSettings& list = ctx_.lists.mailerList;
    form_.control("MlrCity").setText(list[L::City]);
    form_.control("MlrState").setText(list[L::State]);
    form_.control("MlrZip").setText(list[L::Zip]);
    form_.control("MlrSend").setItemIndex(list.numberAt(L::EntryType));
    form_.control("MlrCompany").setText(list[L::Company]);
    form_.control("MlrID").setText(list[L::PermitId]);
    form_.control("MlrPubName").setText(list[L::PublicationName]);
}

// Rewrites mailer.dat; the list in memory takes the new lines only once the file holds
// them.
void MailerInfoDialog::saveEntries() {
    using L = MailerSettings;
    MailerSettings list = ctx_.lists.mailerList;
    list.set(L::City, form_.control("MlrCity").text());
    list.set(L::State, form_.control("MlrState").text());
    list.set(L::Zip, form_.control("MlrZip").text());
    list.set(L::EntryType, intToStr(form_.control("MlrSend").itemIndex()));
    list.set(L::Company, form_.control("MlrCompany").text());
    list.set(L::PermitId, form_.control("MlrID").text());
    list.set(L::PublicationName, form_.control("MlrPubName").text());
    ctx_.saveList(list, MailerSettings::FileName);
    ctx_.lists.mailerList = std::move(list);
}

// A chart or label list that cannot be read is reported as any failed command is, and the
// dialog stays usable.
void MailerInfoDialog::zipChanged() {
    runGuarded(ctx_, [this] { MlrZipChange(); });
}

void MailerInfoDialog::MlrZipChange() {
    std::string zip = form_.control("MlrZip").text();
    if (!isFiveDigits(zip))
        return;
    int prefix = strToInt(zip) / 100;
    int32_t scf = prefix > 0 ? chartValue(ctx_.lists.scfChart, prefix) : 0;
    Control& send = form_.control("MlrSend");
    if (scf == 0) {
        send.setItem(1, zip + " does not exist.");
        send.setItem(2, "");
        return;
    }
    send.setItem(1, StripDigits(labelText(ctx_.lists.scfLabels, std::abs(scf))) + " SCF");
    send.setItem(2, discountCaption(prefix, zip));
}

std::string MailerInfoDialog::discountCaption(int prefix, const std::string& zip) const {
    if (ctx_.lists.mailTypeList.isPeriodicals())
        return adcCaption(prefix, zip);
    return dbmcCaption(prefix, zip);
}

std::string MailerInfoDialog::dbmcCaption(int prefix, const std::string& zip) const {
    int32_t dbmc = chartValue(ctx_.lists.dbmcChart, prefix);
    if (dbmc == 0)
        return "No dbmc discount for " + zip + ".";
    std::string label = StripDigits(labelText(ctx_.lists.dbmcLabels, std::abs(dbmc)));
    return after(label, 4) + (startsWith(label, "BMC") ? " BMC" : " ASF");
}

// Periodicals automation letters are entered at an AADC, every other Periodicals choice at
// an ADC.
std::string MailerInfoDialog::adcCaption(int prefix, const std::string& zip) const {
    const SettingsLists& lists = ctx_.lists;
    bool aadc = lists.mailTypeList.mailClass() == MailClass(MailClass::PAL);
    const SettingsList& chart = aadc ? lists.aadcStandardChart : lists.adcPeriodicalChart;
    int32_t number = chartValue(chart, prefix);
    if (number == 0)
        return "No adc discount for " + zip + ".";
    std::string label =
        StripDigits(labelText(aadc ? lists.aadcLabels : lists.adcLabels, std::abs(number)));
    if (aadc)
        return (startsWith(label, "AADC") ? after(label, 5) : label) + " AADC";
    return (startsWith(label, "ADC") ? after(label, 4) : label) + " ADC";
}

std::string MailerInfoDialog::StripDigits(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c < '0' || c > '9')
            out += c;
    return out;
}

} // namespace quillan
