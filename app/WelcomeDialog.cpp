#include "app/WelcomeDialog.h"

#include "app/ExitStatus.h"

namespace quillan {

using platform::ControlKind;
using platform::Geometry;

WelcomeDialog::WelcomeDialog(AppContext& ctx)
    : ctx_(ctx), form_(ctx.platform.ui, "WelcomeDlog", "Quillan"),
      timer_(ctx.platform.ui, 5000, [this] { TimerTimer(); }) {
    form_.setAbsoluteLayout(true);
    form_.setBorderless(true);
    form_.setSize(375, 203);
    form_.setColor(platform::colors::Teal);
    form_.add(ControlKind::Image, "Image1").setGeometry(Geometry{0, 0, 375, 203});
    form_.add(ControlKind::Label, "Version")
        .setGeometry(Geometry{10, 168, 355, 24})
        .setFont({"Arial", 14, true, false, false})
        .setColor(platform::colors::White);
    auto& ok = form_.add(ControlKind::Button, "okBtn", "OK");
    ok.setGeometry(Geometry{290, 130, 75, 25}).setVisible(false);
    ok.onClick = [this] { okBtnClick(); };
    form_.onActivate = [this] { FormActivate(); };
    form_.onClick = [this] { FormClick(); };
    form_.onKeyPress = [this](char) { FormClick(); };
    form_.onClose = [this] { FormClick(); };
    drawPicture();
}

// Our own splash picture: the name over a stack of mail trays, on teal.
void WelcomeDialog::drawPicture() {
    using namespace platform::colors;
    platform::Canvas& c = form_.control("Image1").canvas();
    c.setPen(Teal);
    c.setBrush(Teal);
    c.rectangle(0, 0, 375, 203);
    c.setPen(Black);
    for (int k = 0; k < 3; ++k) {
        int dx = 230 - 12 * k;
        int dy = 40 + 14 * k;
        c.setBrush(White);
        c.rectangle(dx, dy, dx + 110, dy + 42);
        c.moveTo(dx + 8, dy + 8);
        c.lineTo(dx + 30, dy + 8);
        c.moveTo(dx + 8, dy + 14);
        c.lineTo(dx + 30, dy + 14);
        c.setBrush(Yellow);
        c.rectangle(dx + 92, dy + 7, dx + 100, dy + 15);
        c.setBrush(Silver);
        c.rectangle(dx + 50, dy + 22, dx + 86, dy + 34);
    }
    c.setBrush(Teal, platform::BrushStyle::Clear);
    c.setFont({"Arial", 30, true, false, false});
    c.setPen(White);
    c.textOut(18, 40, "Quillan");
    c.setFont({"Arial", 11, false, true, false});
    c.textOut(20, 92, "Presorted bulk mail");
    c.textOut(20, 112, "for the US Postal Service");
    c.setPen(Black);
}

void WelcomeDialog::showAs(int tag) {
    form_.setTag(tag);
    form_.show();
}

void WelcomeDialog::FormActivate() {
    if (form_.tag() != 0) {
        form_.control("okBtn").setVisible(true);
        return;
    }
    form_.control("okBtn").setVisible(false);
    timer_.setEnabled(true);
}

void WelcomeDialog::closeWindow() {
    timer_.setEnabled(false);
    form_.hide();
}

void WelcomeDialog::TimerTimer() {
    closeWindow();
    if (ctx_.flags.dataMissing) {
        if (endProgram)
            endProgram(exitCode(ExitStatus::ProgramFailure));
        return;
    }
    if (ctx_.parameterCount() >= 1 && runSortWizard)
        runSortWizard();
}

void WelcomeDialog::FormClick() {
    if (!form_.visible())
        return;
    closeWindow();
    if (ctx_.flags.dataMissing && endProgram)
        endProgram(exitCode(ExitStatus::ProgramFailure));
}

void WelcomeDialog::okBtnClick() {
    form_.hide();
    if (ctx_.flags.dataMissing && endProgram)
        endProgram(exitCode(ExitStatus::ProgramFailure));
}

} // namespace quillan
