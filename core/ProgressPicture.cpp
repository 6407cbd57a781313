#include "core/ProgressPicture.h"

#include "platform/ui/Form.h"
#include "platform/ui/Timer.h"

#include <cmath>

namespace quillan {

using namespace platform;
using namespace platform::colors;

static Control* progressControl(AppContext& ctx, const char* name) {
    return ctx.mainWindow ? ctx.mainWindow->find(name) : nullptr;
}

static int width(const Control& c) {
    return c.geometry() ? c.geometry()->width : 100;
}
static int height(const Control& c) {
    return c.geometry() ? c.geometry()->height : 100;
}

void ClearSortPicture(AppContext& ctx) {
    Control* image = progressControl(ctx, "Image1");
    if (!image)
        return;
    Canvas& c = image->canvas();
    c.setPen(Teal);
    c.setBrush(Teal);
    c.rectangle(0, 0, width(*image), height(*image));
    c.setPen(Black);
}

// Halves go to the even neighbour, as the desktop's rounding did.
static int roundEven(float value) {
    return static_cast<int>(std::nearbyint(value));
}

void ShowProgressSticker(AppContext& ctx, const std::string& letter, Color colour) {
    Control* image = progressControl(ctx, "Image1");
    Control* sticker = progressControl(ctx, "Stckr");
    if (!image || !sticker)
        return;
    Canvas& c = image->canvas();
    float a = static_cast<float>(width(*image)) / 100.0f;
    float b = static_cast<float>(height(*image)) / 100.0f;
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
    sticker->setCaption(letter);
    sticker->setVisible(true);
}

void DrawTrayIcons(Canvas& c, int n) {
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

void DrawSackIcons(Canvas& c, int n) {
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

void ProgressPause(AppContext& ctx) {
    if (!ctx.pauseTimer)
        return;
    ctx.flags.PauseFlag = false;
    ctx.pauseTimer->setEnabled(true);
    while (!ctx.flags.PauseFlag)
        ctx.platform.ui.waitForMessages();
    ctx.pauseTimer->setEnabled(false);
}

static void showIcons(AppContext& ctx, int n) {
    Control* image = progressControl(ctx, "Image2");
    if (!image)
        return;
    image->setVisible(false);
    Canvas& c = image->canvas();
    c.setPen(Teal);
    c.setBrush(Teal);
    c.rectangle(0, 0, width(*image), height(*image));
    c.setPen(Black);
    DrawSackIcons(c, n);
    DrawTrayIcons(c, n);
    image->setVisible(true);
    ctx.platform.ui.processMessages();
    ProgressPause(ctx);
}

void ShowProgressIcons(AppContext& ctx, int n) {
    showIcons(ctx, n);
}

void ShowProgressPause(AppContext& ctx, int n) {
    showIcons(ctx, n);
}

} // namespace quillan
