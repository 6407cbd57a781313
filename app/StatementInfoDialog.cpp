#include "app/StatementInfoDialog.h"

#include "app/HelpTopics.h"
#include "core/Convert.h"

namespace quillan {

using namespace platform;

static constexpr int FormWidth = 720;
static constexpr int BoxLeft = 440;

// statement.dat: the text boxes of lines 1 to 5 and 12, 13; line 7 the permit number.
static const char* const HolderBoxes[] = {"holder1", "holder2", "holder3", "holderp", "office"};
// Lines 9 to 11, each kept as two characters.
static const char* const CassBoxes[] = {"cassmonth", "cassday", "cassyr"};

StatementInfoDialog::StatementInfoDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "formdata", "Postage Statement Information") {
    bindHelpKey(ctx_, form_, HelpTopic::StatementInformation);
    build();
}

void StatementInfoDialog::addField(const std::string& label, const std::string& caption,
                                   const std::string& name, int top, int width) {
    if (!label.empty())
        form_.add(ControlKind::Label, label, caption)
            .setGeometry(Geometry{10, top + 3, BoxLeft - 20, 18});
    form_.add(ControlKind::Edit, name).setGeometry(Geometry{BoxLeft, top, width, 22});
}

void StatementInfoDialog::build() {
    form_.setAbsoluteLayout(true);
    form_.setSize(FormWidth, 580);
    form_.add(ControlKind::Label, "Heading", "Information for the completed postage statement")
        .setGeometry(Geometry{10, 10, FormWidth - 20, 24})
        .setFont({"Arial", 16, true, false, false});
    addField("HolderLbl", "Permit holders's name and address:", "holder1", 44, 270);
    addField("", "", "holder2", 70, 270);
    addField("", "", "holder3", 96, 270);
    addField("HolderPhoneLbl", "Permit holders's phone:", "holderp", 126, 150);
    addField("OfficeLbl", "Name of post office where mail is submitted:", "office", 156, 270);
    form_.add(ControlKind::RadioGroup, "imprint", "Postage paid using:")
        .setItems({"permit imprint      ", "meter", "stamps"})
        .setColumns(3)
        .setGeometry(Geometry{10, 186, FormWidth - 20, 58});
    addField("PermitLbl", "Postal permit number (if postage is paid with imprint):", "permit", 256,
             150);
    form_
        .add(ControlKind::RadioGroup, "affixed",
             "Postage affixed to each piece (if permit is not used):")
        .setItems({"correct postage on each pc", "lowest rate used in the mailing"})
        .setColumns(2)
        .setGeometry(Geometry{10, 288, FormWidth - 20, 58});
    form_
        .add(ControlKind::Label, "CassLbl",
             "CASS certification date (barcodded mailings only) mm/dd/yy:")
        .setGeometry(Geometry{10, 361, BoxLeft - 20, 18});
    int x = BoxLeft;
    for (const char* name : CassBoxes) {
        if (x > BoxLeft) {
            bool year = std::string(name) == "cassyr";
            form_.add(ControlKind::Label, std::string(name) + "Sep", year ? "/20" : "/")
                .setGeometry(Geometry{x, 361, year ? 24 : 10, 18});
            x += year ? 26 : 12;
        }
        form_.add(ControlKind::Edit, name).setMaxLength(2).setGeometry(Geometry{x, 358, 32, 22});
        x += 34;
    }
    addField("MailNameLbl", "Name of person signing the form:", "mailname", 388, 270);
    addField("MailPhoneLbl", "Phone number for person signing form:", "mailphone", 414, 150);
    form_
        .add(ControlKind::Label, "later",
             "To change the information on this screen later, you can select \"Statement "
             "Information\" from the Settings menu.")
        .setGeometry(Geometry{10, 446, FormWidth - 20, 18});
    form_.add(ControlKind::Memo, "HelpPanel")
        .setLines({"The postage statement prints these entries in its permit holder, post office "
                   "and signature blocks.",
                   "Give the permit number when the postage is paid with a permit imprint; "
                   "otherwise choose what is affixed.",
                   "The CASS date applies only to barcoded mailings."})
        .setReadOnly(true)
        .setGeometry(Geometry{10, 472, FormWidth - 20, 60});
    form_.add(ControlKind::Button, "OKBtn", "OK")
        .setModalResult(ModalResult::Ok)
        .setDefault(true)
        .setGeometry(Geometry{FormWidth - 170, 545, 75, 25});
    form_.add(ControlKind::Button, "CancelBtn", "Cancel")
        .setModalResult(ModalResult::Cancel)
        .setGeometry(Geometry{FormWidth - 85, 545, 75, 25});
}

void StatementInfoDialog::load() {
    using L = StatementSettings;
    const StatementSettings& lines = ctx_.lists.statementList;
    for (int i = 0; i < 5; ++i)
        form_.control(HolderBoxes[i]).setText(lines[L::HolderLine1 + i]);
    form_.control("imprint").setItemIndex(lines.numberAt(L::Payment));
    form_.control("permit").setText(lines[L::PermitNumber]);
    form_.control("affixed").setItemIndex(lines.numberAt(L::Affixed));
    for (int i = 0; i < 3; ++i)
        form_.control(CassBoxes[i]).setText(lines[L::CassMonth + i]);
    form_.control("mailname").setText(lines[L::SignerName]);
    form_.control("mailphone").setText(lines[L::SignerPhone]);
}

void StatementInfoDialog::store() {
    using L = StatementSettings;
    StatementSettings& lines = ctx_.lists.statementList;
    for (int i = 0; i < 5; ++i)
        lines.set(L::HolderLine1 + i, form_.control(HolderBoxes[i]).text());
    lines.set(L::Payment, intToStr(form_.control("imprint").itemIndex()));
    lines.set(L::PermitNumber, form_.control("permit").text());
    lines.set(L::Affixed, intToStr(form_.control("affixed").itemIndex()));
    for (int i = 0; i < 3; ++i) {
        Control& box = form_.control(CassBoxes[i]);
        std::string text = box.text();
        if (text.size() < 2)
            text.insert(0, 2 - text.size(), '0');
        box.setText(text);
        lines.set(L::CassMonth + i, text);
    }
    lines.set(L::SignerName, form_.control("mailname").text());
    lines.set(L::SignerPhone, form_.control("mailphone").text());
}

bool StatementInfoDialog::StatementInformationCaller(const std::string& mode) {
    load();
    form_.control("later").setVisible(mode == "no");
    if (form_.showModal() != ModalResult::Ok)
        return false;
    store();
    ctx_.saveList(ctx_.lists.statementList, StatementSettings::FileName);
    return true;
}

} // namespace quillan
