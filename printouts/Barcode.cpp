#include "printouts/Barcode.h"

#include "core/Convert.h"

#include <array>

namespace quillan {

namespace {

constexpr std::array<const char*, 10> digitPatterns = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                                       "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

constexpr int BarHeight = 52;

int elementPoints(char element) {
    return element == 'N' ? 1 : 3;
}

// The symbol as element widths in points, bar first and then bar and space alternating.
std::string symbolElements(std::string_view digits) {
    std::string elements = "NNNN";
    for (size_t i = 0; i + 1 < digits.size(); i += 2) {
        std::string bars = Interleaved2of5Pattern(digits.substr(i, 1));
        std::string spaces = Interleaved2of5Pattern(digits.substr(i + 1, 1));
        for (size_t k = 0; k < 5; ++k) {
            elements += bars[k];
            elements += spaces[k];
        }
    }
    return elements + "WNN";
}

} // namespace

std::string Interleaved2of5Pattern(std::string_view digit) {
    if (digit.size() != 1 || digit[0] < '0' || digit[0] > '9')
        throw ConvertError("'" + std::string(digit) + "' is not a valid integer value");
    return digitPatterns[static_cast<size_t>(digit[0] - '0')];
}

void DrawInterleaved2of5(platform::Canvas& canvas, const PointScale& scale, std::string_view digits,
                         int x, int y) {
    std::string elements = symbolElements(digits);
    canvas.setBrush(platform::colors::Black);
    int height = scale.dotsY(BarHeight);
    canvas.moveTo(x, y);
    for (size_t i = 0; i < elements.size(); ++i) {
        int width = scale.dotsX(elementPoints(elements[i]));
        bool bar = i % 2 == 0;
        if (bar)
            canvas.fillRect(x, y, x + width, y + height);
        x += width;
        canvas.moveTo(x, y);
    }
    canvas.setBrush(platform::colors::White);
}

void DrawAutomationStripes(platform::Canvas& canvas, const PointScale& scale, int x, int y) {
    canvas.setBrush(platform::colors::Black);
    int top = y - scale.dotsY(23);
    for (int stripe = 0; stripe < 4; ++stripe) {
        canvas.polygon({{x, y},
                        {x + scale.dotsX(12), top},
                        {x + scale.dotsX(24), top},
                        {x + scale.dotsX(12), y}});
        x += scale.dotsX(24);
    }
    canvas.setBrush(platform::colors::White);
}

} // namespace quillan
