#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace formgen {

// One thing drawn on a page, in points from the page's top-left corner.
struct Item {
    enum class Kind { Box, Text, Line, Tick, Cells, Section, Label };
    Kind kind = Kind::Text;
    std::vector<double> numbers; // positions, sizes and offsets, as the kind reads them
    std::string text;
    char section = 0;
    bool bold = false;
};

// A statement form as its description gives it: the title (line 0 of its coordinate file),
// whether it is for permit imprint and for Nonprofit rates, the 26 places, and what is
// drawn on each of its two pages.
struct FormSpec {
    std::string name;
    std::string title;
    bool permit = true;
    bool nonprofit = false;
    std::array<std::optional<std::array<int, 2>>, 27> places; // 1 to 26
    std::array<std::vector<Item>, 2> pages;
};

// Reads a family description: its "form" lines name the forms it describes, and every
// other line applies to those of them its guard selects. Throws std::runtime_error naming
// the file and line of anything it cannot read.
std::vector<FormSpec> readFamily(const std::string& path);

} // namespace formgen
