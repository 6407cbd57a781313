#pragma once

#include "printouts/PrintRun.h"

#include <string>
#include <string_view>

namespace quillan {

// Draws the texts and rules of a report page at positions in points across and device units
// down (a running y adds lengths converted one by one, as the layout always has). Everything
// is drawn only on a page in range while printing goes on; the layout is the same either way,
// so that the pages fall alike whatever range is printed.
class PageLayout {
public:
    explicit PageLayout(PrintRun& run) : run_(run) {}

    PrintRun& run() { return run_; }
    platform::PrinterDevice& printer() { return run_.printer(); }
    int x(long double points) const { return run_.dotsX(points); }
    int y(long double points) const { return run_.dotsY(points); }
    bool drawing() const { return run_.drawing(); }

    void font(int size, bool bold = false, bool italic = false);

    // Text with its top-left corner at (x, y).
    void text(long double xPoints, int y, std::string_view s);
    void textAtDots(int x, int y, std::string_view s);
    // Text that ends at x.
    void textEndingAt(long double rightPoints, int y, std::string_view s);
    // A money or decimal text whose decimal point (included) ends at x, so that a column of
    // amounts lines up on it.
    void amountAt(long double pointPoints, int y, std::string_view s);
    // A rule across the report's columns, from 54 to 540 pt.
    void rule(int y);

    int penY() { return printer().penPosition().y; }
    void moveTo(long double xPoints, int y) { run_.printer().moveTo(x(xPoints), y); }

private:
    PrintRun& run_;
};

} // namespace quillan
