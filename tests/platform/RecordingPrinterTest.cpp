#include "platform/testing/RecordingPrinter.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(RecordingPrinter, LogsDocumentPagesAndDrawingInDeviceUnits) {
    RecordingPrinter printer({300, 300, 2550, 3300, {25, 30}});
    EXPECT_EQ(printer.dpiX(), 300);
    EXPECT_EQ(printer.printableOffset(), (Point{25, 30}));
    printer.setTitle("Quillan Tray Tags");
    printer.beginDoc();
    printer.setFont({"Arial", 12, true, false, false});
    printer.textOut(100, 200, "5-DIGIT 12345");
    printer.newPage();
    printer.moveTo(0, 0);
    printer.lineTo(10, 20);
    EXPECT_EQ(printer.penPosition(), (Point{10, 20}));
    printer.moveTo(7, 9);
    EXPECT_EQ(printer.penPosition(), (Point{7, 9})) << "the layout cursor reads back";
    printer.endDoc();
    std::vector<std::string> expected = {"title Quillan Tray Tags",
                                         "begindoc",
                                         "font Arial 12 B",
                                         "text 100 200 5-DIGIT 12345",
                                         "newpage",
                                         "moveto 0 0",
                                         "lineto 10 20",
                                         "moveto 7 9",
                                         "enddoc"};
    EXPECT_EQ(printer.log(), expected);
    EXPECT_EQ(printer.pageCount(), 2);
    EXPECT_EQ(printer.documentCount(), 1);
}

TEST(RecordingPrinter, TextMetricFollowsFontAndResolution) {
    RecordingPrinter printer({600, 300, 5100, 3300, {0, 0}});
    printer.setFont({"Arial", 12, false, false, false});
    // 12 pt at 600 dpi: 100 px per em, half an em per character.
    EXPECT_EQ(printer.textWidth("ABCD"), 200);
    // 12 pt at 300 dpi vertically: 50 px, cell 1.15 of it.
    EXPECT_EQ(printer.textHeight("A"), 58);
    printer.setFont({"Arial", 12, true, false, false});
    EXPECT_EQ(printer.textWidth("ABCD"), 220);
}
