#include "app/DialogPage.h"

namespace quillan {

using namespace platform;

void addHeading(platform::Form& form, const std::string& heading, const std::string& note) {
    form.add(platform::ControlKind::Label, "Heading", heading)
        .setFont({"Arial", 14, true, false, false});
    form.add(platform::ControlKind::Label, "Note", note);
}

void addPageButtons(Form& form, const std::string& okName, const std::string& nextCaption) {
    form.add(ControlKind::Button, okName, "OK").setModalResult(ModalResult::Ok).setDefault(true);
    form.add(ControlKind::Button, "backBtn", "&Back").setModalResult(BackResult);
    form.add(ControlKind::Button, "nextBtn", nextCaption)
        .setModalResult(ModalResult::Ok)
        .setDefault(true);
    form.add(ControlKind::Button, "CancelBtn", "Cancel").setModalResult(ModalResult::Cancel);
}

void showPageButtons(Form& form, const std::string& okName, int wizard) {
    bool asPage = wizard == 1;
    form.control("backBtn").setVisible(asPage);
    form.control("nextBtn").setVisible(asPage);
    form.control(okName).setVisible(!asPage);
}

int pageResult(ModalResult result) {
    if (result == ModalResult::Ok)
        return 1;
    if (result == BackResult)
        return -1;
    return 0;
}

void warnEntry(AppContext& ctx, const std::string& text) {
    ctx.message(BeepKind::Exclamation, MessageKind::Warning, MessageButtons::Ok, text);
}

// The check runs as the page is left with OK, Next or Back: a refusal is shown over the
// page, which stays open with the entries as typed, to be put right.
int showPageUntilValid(AppContext& ctx, Form& form, const EntryCheck& check,
                       const std::function<void()>& save) {
    form.onCloseQuery = [&ctx, &check](ModalResult result) {
        if (pageResult(result) == 0)
            return true;
        std::optional<std::string> problem = check();
        if (problem)
            warnEntry(ctx, *problem);
        return !problem;
    };
    int page = pageResult(form.showModal());
    form.onCloseQuery = nullptr;
    if (page != 0)
        save();
    return page;
}

void addHelpPanel(Form& form, const std::string& name, const std::string& text,
                  const std::string& parentName) {
    form.add(ControlKind::Panel, name, {}, parentName);
    form.add(ControlKind::Label, name + "Text", text, name);
}

void enableEdit(Control& edit, bool enabled) {
    edit.setEnabled(enabled);
    edit.setColor(enabled ? colors::White : colors::Silver);
}

} // namespace quillan
