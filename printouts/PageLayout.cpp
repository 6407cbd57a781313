#include "printouts/PageLayout.h"

namespace quillan {

void PageLayout::font(int size, bool bold, bool italic) {
    run_.setFont(size, bold, italic);
}

void PageLayout::textAtDots(int xDots, int yDots, std::string_view s) {
    if (drawing() && !s.empty())
        printer().textOut(xDots, yDots, s);
}

void PageLayout::text(long double xPoints, int yDots, std::string_view s) {
    textAtDots(x(xPoints), yDots, s);
}

void PageLayout::textEndingAt(long double rightPoints, int yDots, std::string_view s) {
    textAtDots(x(rightPoints) - printer().textWidth(s), yDots, s);
}

void PageLayout::amountAt(long double pointPoints, int yDots, std::string_view s) {
    size_t point = s.find('.');
    std::string_view whole = point == std::string_view::npos ? s : s.substr(0, point + 1);
    textAtDots(x(pointPoints) - printer().textWidth(whole), yDots, s);
}

void PageLayout::rule(int yDots) {
    if (!drawing())
        return;
    platform::Point pen = printer().penPosition();
    printer().moveTo(x(54), yDots);
    printer().lineTo(x(540), yDots);
    printer().moveTo(pen.x, pen.y);
}

} // namespace quillan
