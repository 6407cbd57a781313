#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// A menu entry; an entry with children is a submenu, one with the caption "-" a separator.
struct MenuItem {
    std::string name;
    std::string caption;
    std::string shortcut; // such as "Ctrl+E"; empty for none
    bool enabled = true;
    bool visible = true;
    std::vector<MenuItem> children;
    std::function<void()> onClick;

    bool isSeparator() const { return caption == "-"; }
};

} // namespace platform
