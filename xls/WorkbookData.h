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
    static constexpr uint16_t NamedOptions = Hidden | Iconized | HScroll | VScroll | Tabs;

    uint16_t left = 100;
    uint16_t top = 100;
    uint16_t width = 10000;
    uint16_t height = 7000;
    uint16_t selectedTab = 0;
    uint8_t options = HScroll | VScroll | Tabs;
    // As read: the option bits not named above, the first tab shown, how many tabs are
    // selected and the share of the window's width the tabs take (in thousandths).
    uint16_t otherOptions = 0;
    uint16_t firstVisibleTab = 0;
    uint16_t selectedTabCount = 1;
    uint16_t tabRatio = 600;

    bool has(Option option) const { return (options & option) != 0; }
};

} // namespace xls
