#pragma once

#include <string>
#include <utility>
#include <vector>

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

    static StatementText at(double x, double y, std::string text, Align align = Right,
                            int fontSize = 8) {
        StatementText placed;
        placed.x = x;
        placed.y = y;
        placed.text = std::move(text);
        placed.align = align;
        placed.fontSize = fontSize;
        return placed;
    }

    friend bool operator==(const StatementText&, const StatementText&) = default;
};

inline void appendTexts(std::vector<StatementText>& to, std::vector<StatementText> texts) {
    for (StatementText& t : texts)
        to.push_back(std::move(t));
}

} // namespace quillan
