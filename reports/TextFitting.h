#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillan {

// The smallest size a tag text is shrunk to before it loses words.
inline constexpr int SmallestTagTextSize = 7;

// A text as it is drawn within a width, and its size in points.
struct FittedText {
    std::string text;
    int size = 0;
};

// The width of a text at a size, in the units of the width it has to fit.
using TextWidthAt = std::function<int(const std::string& text, int size)>;

// A text that fits the width at its size keeps it; one that does not is drawn at the largest
// smaller size down to `smallest` that fits, and failing that, at `smallest` with as many of
// its words as fit (a first word too long on its own loses its last characters).
FittedText fitText(const std::string& text, int size, int smallest, int width,
                   const TextWidthAt& widthAt);

// A text drawn within a width on one line or more, and their size in points.
struct FittedLines {
    std::vector<std::string> lines;
    int size = 0;
};

// A list of items joined by a mark ("1-2/3/4/5") within a width: on one line at the largest
// size down to `smallest` that fits, and failing that, at `smallest` broken after a mark
// onto as many lines as it needs (an item wider than the line stands on a line of its own).
FittedLines fitOrBreakAfter(char mark, const std::string& text, int size, int smallest, int width,
                            const TextWidthAt& widthAt);

// A text broken at its blanks into lines no wider than `width` (a word wider than the line
// stands on a line of its own).
std::vector<std::string> wrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& widthOf);

} // namespace quillan
