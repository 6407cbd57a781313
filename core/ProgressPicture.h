#pragma once

#include "core/AppContext.h"
#include "platform/ui/Color.h"

#include <string>

namespace quillan {

// The small animated picture the main window shows while a list is read, sorted and
// written: a sticker with a letter for the presort stage, and a stack of tray and sack
// icons. Every icon update is followed by a half-second pause in which the window stays
// responsive. Without a main window (headless tools) the calls draw nothing and do not
// pause.

// Fills the sticker picture with teal.
void ClearSortPicture(AppContext& ctx);
// Draws the sticker in the colour and shows the letter over it.
void ShowProgressSticker(AppContext& ctx, const std::string& letter, platform::Color colour);
// n trays over 5 - n sacks, then the pause.
void ShowProgressIcons(AppContext& ctx, int n);
// The list reader's and writer's twin of ShowProgressIcons.
void ShowProgressPause(AppContext& ctx, int n);

void DrawTrayIcons(platform::Canvas& canvas, int n);
void DrawSackIcons(platform::Canvas& canvas, int n);

// Waits, processing messages, until the pause timer has set PauseFlag. A tick that came
// before the wait has no effect, because the flag is cleared before the timer starts.
void ProgressPause(AppContext& ctx);

// Colours of the stage stickers.
inline constexpr platform::Color StickerFiveDigit{255, 0, 0};
inline constexpr platform::Color StickerThreeDigit{0, 255, 0};
inline constexpr platform::Color StickerAdc{255, 0, 128};

} // namespace quillan
