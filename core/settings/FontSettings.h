#pragma once

#include "core/SettingsList.h"

#include <cstdint>
#include <string>

namespace quillan {

// fonts.dat: the font of the tray and sack tags and its sizes. The only place that knows
// the file's lines.
class FontSettings : public SettingsList {
public:
    static constexpr const char* FileName = "fonts.dat";
    enum Line : long {
        FontName = 1,
        TrayLeftSize = 2,
        TrayRightSize = 3,
        TrayBottomSize = 4,
        SackLeftSize = 5,
        SackRightSize = 6,
    };
    static constexpr int SizeCount = 5;

    FontSettings() = default;
    explicit FontSettings(SettingsList lines) : SettingsList(std::move(lines)) {}

    const std::string& fontName() const { return at(FontName); }
    // Size i of the five, in the order of the lines (tray left first).
    const std::string& sizeText(int i) const { return at(TrayLeftSize + i); }
    int32_t size(Line line) const { return numberAt(line); }
};

} // namespace quillan
