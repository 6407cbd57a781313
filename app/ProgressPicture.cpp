#include "app/ProgressPicture.h"

#include "platform/Interruption.h"
#include "platform/ui/Form.h"
#include "platform/ui/Ui.h"

#include <cmath>

namespace quillan {

using namespace platform;
using namespace platform::colors;

namespace {

int width(const Control& c) {
    return c.geometry() ? c.geometry()->width : 100;
}
int height(const Control& c) {
    return c.geometry() ? c.geometry()->height : 100;
}

// Halves go to the even neighbour, as the desktop's rounding did.
int roundEven(float value) {
    return static_cast<int>(std::nearbyint(value));
}

int scaled(double fraction, int size) {
    return static_cast<int>(std::lround(fraction * size));
}

} // namespace

ProgressPicture::ProgressPicture(Ui& ui, Form& mainWindow)
    : ui_(ui), window_(mainWindow), pauseTimer_(ui, 500, [this] { pauseEnded_ = true; }) {}

bool ProgressPicture::drawing() const {
    return ui_.hasDisplay();
}

Control& ProgressPicture::control(const char* name) {
    return window_.control(name);
}

void ProgressPicture::fill(Control& image, Color colour) {
    Canvas& c = image.canvas();
    c.setPen(colour);
    c.setBrush(colour);
    c.rectangle(0, 0, width(image), height(image));
    c.setPen(Black);
}

void ProgressPicture::clearPicture() {
    if (drawing())
        fill(control("Image1"), Teal);
}

void ProgressPicture::clearCaptions() {
    if (!drawing())
        return;
    for (const char* name : {"TopLabel", "BottomLabel", "Stckr"})
        control(name).setCaption("");
}

void ProgressPicture::showPage() {
    if (!drawing())
        return;
    Control& image = control("Image1");
    int w = width(image);
    int h = height(image);
    auto at = [&](double x, double y) { return Point{scaled(x, w), scaled(y, h)}; };
    Canvas& c = image.canvas();
    c.setBrush(White);
    c.polygon({at(0.6, 0.1), at(0.6, 0.3), at(0.8, 0.3)});
    c.setBrush(Color{255, 255, 128});
    c.setPen(Black, 2);
    c.polygon({at(0.2, 0.1), at(0.6, 0.1), at(0.6, 0.3), at(0.8, 0.3), at(0.8, 0.9), at(0.2, 0.9)});
    c.setPen(Black, 1);
    image.setVisible(true);
}

void ProgressPicture::showCaption(Caption caption, const std::string& text) {
    if (!drawing())
        return;
    control(caption == Caption::Top ? "TopLabel" : "BottomLabel").setCaption(text).setVisible(true);
}

void ProgressPicture::showStage(Stage stage) {
    switch (stage) {
    case Stage::FiveDigit:
        return showSticker("D", StickerFiveDigit);
    case Stage::ThreeDigit:
        return showSticker("3", StickerThreeDigit);
    case Stage::Adc:
        return showSticker("A", StickerAdc);
    }
}

void ProgressPicture::showSticker(const std::string& letter, Color colour) {
    if (!drawing())
        return;
    Control& image = control("Image1");
    Canvas& c = image.canvas();
    float a = static_cast<float>(width(image)) / 100.0f;
    float b = static_cast<float>(height(image)) / 100.0f;
    auto drawShapes = [&] {
        c.roundRect(roundEven(25 * a), roundEven(25 * b), roundEven(75 * a), roundEven(75 * b),
                    roundEven(25 * a), roundEven(70 * b));
        c.roundRect(roundEven(13 * a), roundEven(32 * b), roundEven(87 * a), roundEven(68 * b),
                    roundEven(80 * a), roundEven(40 * b));
    };
    c.setPen(Black, 1, PenStyle::Clear);
    c.setBrush(Teal);
    drawShapes(); // erases the previous sticker
    c.setBrush(colour);
    drawShapes();
    c.setPen(Black, 1, PenStyle::Solid);
    control("Stckr").setCaption(letter).setVisible(true);
}

void ProgressPicture::drawTrayIcons(Canvas& c, int n) {
    for (int k = 0; k < n; ++k) {
        int dx = -9 * k;
        int dy = 8 * k;
        c.setBrush(White);
        c.rectangle(79 + dx, 22 + dy, 166 + dx, 57 + dy);
        c.moveTo(85 + dx, 27 + dy);
        c.lineTo(98 + dx, 27 + dy);
        c.moveTo(85 + dx, 31 + dy);
        c.lineTo(98 + dx, 31 + dy);
        c.setBrush(Yellow);
        c.rectangle(153 + dx, 27 + dy, 159 + dx, 33 + dy);
        c.setBrush(Silver);
        c.rectangle(123 + dx, 39 + dy, 149 + dx, 48 + dy);
    }
}

void ProgressPicture::drawSackIcons(Canvas& c, int n) {
    for (int k = 0; k <= 4 - n; ++k) {
        int t = 36 - 9 * k;
        c.setBrush(White);
        c.polygon({{90 - t, 41 + t}, {165 - t, 84 + t}, {148 - t, 115 + t}, {73 - t, 71 + t}});
        c.moveTo(73 - t, 71 + t);
        c.lineTo(83 - t, 66 + t);
        c.lineTo(148 - t, 105 + t);
        c.lineTo(148 - t, 115 + t);
    }
}

void ProgressPicture::showIcons(int trays) {
    if (!drawing())
        return;
    Control& image = control("Image2");
    image.setVisible(false);
    fill(image, Teal);
    drawSackIcons(image.canvas(), trays);
    drawTrayIcons(image.canvas(), trays);
    image.setVisible(true);
    ui_.processMessages();
    pause();
}

void ProgressPicture::pause() {
    // A command that is stopping hurries to its next safe point.
    if (platform::interruptionRequested())
        return;
    pauseEnded_ = false;
    pauseTimer_.setEnabled(true);
    while (!pauseEnded_)
        ui_.waitForMessages();
    pauseTimer_.setEnabled(false);
}

void ProgressPicture::hide() {
    for (const char* name : {"Image1", "Image2", "Stckr", "TopLabel", "BottomLabel"})
        control(name).setVisible(false);
}

} // namespace quillan
