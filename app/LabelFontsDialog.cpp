#include "app/LabelFontsDialog.h"

#include "app/HelpTopics.h"
#include "core/Convert.h"

namespace quillan {

using namespace platform;

// fonts.dat: line 1 the font name, lines 2 to 6 the sizes of these boxes.
static const char* const SizeBoxes[] = {"trayleftfont", "trayrightfont", "traybtmfont",
                                        "sackleftfont", "sackrightfont"};

static constexpr int TagWidth = 220;
static constexpr int TagHeight = 100;

LabelFontsDialog::LabelFontsDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "LabelFontsDlg", "Label Fonts") {
    bindHelpKey(ctx_, form_, HelpTopic::TagFonts);
    build();
}

void LabelFontsDialog::build() {
    form_.setAbsoluteLayout(true);
    form_.setSize(520, 420);
    form_.add(ControlKind::Label, "Heading", "Set Fonts for Tags")
        .setGeometry(Geometry{10, 10, 500, 24})
        .setFont({"Arial", 16, true, false, false});
    form_
        .add(ControlKind::Label, "Note",
             "These settings determine how the tray and sack tags are printed.")
        .setGeometry(Geometry{10, 38, 500, 18});
    form_.add(ControlKind::Label, "FontLbl", "Select a font:")
        .setGeometry(Geometry{10, 72, 100, 18});
    form_.add(ControlKind::ComboBox, "FontSelect").setGeometry(Geometry{115, 68, 260, 24});
    form_.add(ControlKind::Label, "SizesLbl", "Set font sizes:")
        .setGeometry(Geometry{10, 104, 100, 18});
    addTagGroup("TrayGroup", "Tray Label:", 10, true);
    addTagGroup("SackGroup", "Sack Label:", 265, false);
    form_.add(ControlKind::Memo, "HelpPanel")
        .setLines({"Choose a font your printer prints clearly; it is used for every tag.",
                   "Type each size in points, a whole number greater than zero, in the box",
                   "on the part of the tag it sets. Larger sizes suit the destination line."})
        .setReadOnly(true)
        .setGeometry(Geometry{10, 290, 500, 74});
    form_.add(ControlKind::Button, "OKBtn", "OK")
        .setModalResult(ModalResult::Ok)
        .setDefault(true)
        .setGeometry(Geometry{350, 380, 75, 25})
        .onClick = [this] { OKBtnClick(); };
    form_.add(ControlKind::Button, "CancelBtn", "Cancel")
        .setModalResult(ModalResult::Cancel)
        .setGeometry(Geometry{435, 380, 75, 25});
}

// A group holding a small picture of the tag with each size box on the part it sets.
void LabelFontsDialog::addTagGroup(const std::string& name, const std::string& caption, int left,
                                   bool withBottom) {
    const std::string prefix = withBottom ? "tray" : "sack";
    form_.add(ControlKind::GroupBox, name, caption).setGeometry(Geometry{left, 126, 245, 150});
    Control& picture = form_.add(ControlKind::Image, prefix + "Picture", "", name);
    picture.setGeometry(Geometry{12, 28, TagWidth, TagHeight});
    drawTag(picture, withBottom);
    form_.add(ControlKind::Edit, prefix + "leftfont", "", name)
        .setGeometry(Geometry{24, 48, 44, 22});
    form_.add(ControlKind::Edit, prefix + "rightfont", "", name)
        .setGeometry(Geometry{176, 48, 44, 22});
    if (withBottom)
        form_.add(ControlKind::Edit, prefix + "btmfont", "", name)
            .setGeometry(Geometry{100, 96, 44, 22});
}

// Our own tag picture: grey bars where the text of each part prints.
void LabelFontsDialog::drawTag(Control& picture, bool withBottom) {
    Canvas& c = picture.canvas();
    c.setPen(colors::Black);
    c.setBrush(colors::White);
    c.rectangle(0, 0, TagWidth, TagHeight);
    c.setBrush(colors::Silver);
    int split = withBottom ? 60 : TagHeight - 6;
    c.moveTo(TagWidth / 2, 6);
    c.lineTo(TagWidth / 2, split);
    for (int y : {10, 46})
        if (y + 8 < split) {
            c.fillRect(62, y, TagWidth / 2 - 8, y + 8);
            c.fillRect(TagWidth / 2 + 8, y, 160, y + 8);
        }
    if (!withBottom)
        return;
    c.moveTo(6, split);
    c.lineTo(TagWidth - 6, split);
    c.fillRect(20, 76, 84, 84);
    c.fillRect(136, 76, TagWidth - 20, 84);
}

void LabelFontsDialog::loadFontNames() {
    Control& select = form_.control("FontSelect");
    std::vector<std::string> names = ctx_.platform.printer.fontNames();
    const std::string& stored = ctx_.lists.fontsList.fontName();
    int chosen = names.empty() ? -1 : 0;
    for (int i = 0; i < static_cast<int>(names.size()); ++i)
        if (names[static_cast<size_t>(i)] == stored)
            chosen = i;
    select.setItems(std::move(names));
    select.setItemIndex(chosen);
}

void LabelFontsDialog::SetLabelFonts1Click() {
    using L = FontSettings;
    FontSettings& fonts = ctx_.lists.fontsList;
    loadFontNames();
    for (int i = 0; i < L::SizeCount; ++i)
        form_.control(SizeBoxes[i]).setText(fonts.sizeText(i));
    if (form_.showModal() != ModalResult::Ok)
        return;
    const Control& select = form_.control("FontSelect");
    // Without any printer font there is nothing to choose; the stored name stays.
    if (select.itemIndex() >= 0)
        fonts.set(L::FontName, select.items()[static_cast<size_t>(select.itemIndex())]);
    for (int i = 0; i < L::SizeCount; ++i)
        fonts.set(L::TrayLeftSize + i, form_.control(SizeBoxes[i]).text());
    ctx_.saveList(fonts, FontSettings::FileName);
}

// Digits only, and a whole number the tag printer can convert.
bool LabelFontsDialog::isFontSize(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    int32_t size = 0;
    return tryStrToInt(text, size) && size > 0;
}

void LabelFontsDialog::OKBtnClick() {
    for (const char* name : SizeBoxes) {
        if (isFontSize(form_.control(name).text()))
            continue;
        ctx_.message(BeepKind::Exclamation, MessageKind::Warning, MessageButtons::Ok,
                     "Each font size must have a numeric value greater than zero.");
        form_.setModalResult(ModalResult::None);
        return;
    }
}

} // namespace quillan
