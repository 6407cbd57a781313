#pragma once

#include <cstdint>

namespace xls {

// The workbook window (WINDOW1): position and size in twips, the tab shown, window options.
struct WorkbookData {
    enum Option : uint8_t {
        Hidden = 0x01,
        Iconized = 0x02,
        HScroll = 0x08,
        VScroll = 0x10,
        Tabs = 0x20,
    };

    uint16_t left = 100;
    uint16_t top = 100;
    uint16_t width = 10000;
    uint16_t height = 7000;
    uint16_t selectedTab = 0;
    uint8_t options = HScroll | VScroll | Tabs;

    bool has(Option option) const { return (options & option) != 0; }
};

} // namespace xls
