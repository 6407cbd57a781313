#pragma once

#include <string>

namespace quillan {

// A text the statement prints at a point of its form, in points from the page's top-left
// corner.
struct StatementText {
    enum Align { Left, Right };
    double x = 0;
    double y = 0;
    std::string text;
    Align align = Right; // a right-aligned text ends at x
    // Right-aligned as though this followed the text: totals of two decimals then line up
    // with the four-decimal amounts above them.
    std::string roomAfter;
    int fontSize = 8; // points

    friend bool operator==(const StatementText&, const StatementText&) = default;
};

} // namespace quillan
