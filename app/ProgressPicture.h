#pragma once

#include "core/ProgressSink.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Timer.h"

#include <string>

namespace platform {
class Canvas;
class Control;
class Form;
class Ui;
} // namespace platform

namespace quillan {

// The small animated picture the main window shows while a list is read, sorted and
// written: a sticker with a letter for the presort stage, a sheet of paper for the list,
// captions over and under it, and a stack of tray and sack icons. Each icon update is
// followed by a half-second pause in which the window stays responsive, so that a person
// can follow it; without a display the picture is neither drawn nor waited for.
class ProgressPicture : public ProgressSink {
public:
    // Draws on the main window's controls Image1 (sticker and page), Image2 (icons), Stckr,
    // TopLabel and BottomLabel.
    ProgressPicture(platform::Ui& ui, platform::Form& mainWindow);

    void clearPicture() override;
    void clearCaptions() override;
    void showPage() override;
    void showCaption(Caption caption, const std::string& text) override;
    void showStage(Stage stage) override;
    void showIcons(int trays) override;
    void hide() override;

    // Waits, processing messages, until the pause timer has ticked. A tick that came before
    // the wait has no effect, because the flag is cleared before the timer starts.
    void pause();
    platform::Timer& pauseTimer() { return pauseTimer_; }
    bool pauseEnded() const { return pauseEnded_; }

    static void drawTrayIcons(platform::Canvas& canvas, int n);
    static void drawSackIcons(platform::Canvas& canvas, int n);

private:
    bool drawing() const;
    platform::Control& control(const char* name);
    void fill(platform::Control& image, platform::Color colour);
    void showSticker(const std::string& letter, platform::Color colour);

    platform::Ui& ui_;
    platform::Form& window_;
    platform::Timer pauseTimer_;
    bool pauseEnded_ = false;
};

// Colours of the stage stickers.
inline constexpr platform::Color StickerFiveDigit{255, 0, 0};
inline constexpr platform::Color StickerThreeDigit{0, 255, 0};
inline constexpr platform::Color StickerAdc{255, 0, 128};

} // namespace quillan
