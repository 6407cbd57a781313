#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <functional>
#include <optional>
#include <string>

namespace quillan {

// What the settings dialogs share as pages of the Sort Wizard: the OK, Back, Next and
// Cancel buttons, the page results and the warning for a refused entry.

// The result of the Back button: the wizard goes one page back.
inline constexpr platform::ModalResult BackResult = platform::ModalResult::Retry;

// Adds OK (named okName), "&Back", Next (captioned nextCaption) and Cancel.
// The bold heading and the note under it that open every settings page.
void addHeading(platform::Form& form, const std::string& heading, const std::string& note);

void addPageButtons(platform::Form& form, const std::string& okName,
                    const std::string& nextCaption = "&Next");

// As a wizard page (wizard 1) Back and Next show and OK hides; otherwise OK alone.
void showPageButtons(platform::Form& form, const std::string& okName, int wizard);

// 1 for OK or Next, -1 for Back, 0 for Cancel or a closed window.
int pageResult(platform::ModalResult result);

// A refused entry: exclamation beep, warning box with OK.
void warnEntry(AppContext& ctx, const std::string& text);

// What is wrong with a page's entries, or nothing when they may be saved.
using EntryCheck = std::function<std::optional<std::string>()>;

// Shows the page until it is cancelled or its entries pass check, warning of each refusal
// over the open page; entries that pass are saved. Returns the page result.
int showPageUntilValid(AppContext& ctx, platform::Form& form, const EntryCheck& check,
                       const std::function<void()>& save);

// A framed panel of guidance text.
void addHelpPanel(platform::Form& form, const std::string& name, const std::string& text,
                  const std::string& parentName = {});

// Disabled edit boxes are painted silver, enabled ones in the window colour.
void enableEdit(platform::Control& edit, bool enabled);

} // namespace quillan
