#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

namespace quillan {

// The tag fonts (fonts.dat): the printer font and the five font sizes of the tray and sack
// tags.
class LabelFontsDialog {
public:
    explicit LabelFontsDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Runs the dialog to its end; OK with valid sizes rewrites fonts.dat.
    void SetLabelFonts1Click();

private:
    void build();
    void addTagGroup(const std::string& name, const std::string& caption, int left,
                     bool withBottom);
    void drawTag(platform::Control& picture, bool withBottom);
    void loadFontNames();
    void OKBtnClick();
    static bool isFontSize(const std::string& text);

    AppContext& ctx_;
    platform::Form form_;
};

} // namespace quillan
