// Values as the dump tool writes them, in the forms mdb-export uses (the corpus test
// compares whole tables; these are the edges the corpus does not reach).

#include "mdbengine/dao/ExportText.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

using mdbengine::exportText;
using mdbengine::Variant;

TEST(ExportTextTest, DatesAsMdbtoolsConvertsThem) {
    auto date = [](double days) { return exportText(Variant::date(days)); };
    EXPECT_EQ(date(0), "\"1899-12-30 00:00:00\"");
    EXPECT_EQ(date(1.5), "\"1899-12-31 12:00:00\"");
    EXPECT_EQ(date(2), "\"1900-01-01 00:00:00\"");
    EXPECT_EQ(date(60), "\"1900-02-28 00:00:00\"") << "no 29 February 1900";
    EXPECT_EQ(date(61), "\"1900-03-01 00:00:00\"");
    EXPECT_EQ(date(36585), "\"2000-02-29 00:00:00\"");
    EXPECT_EQ(date(27293.75), "\"1974-09-21 18:00:00\"");
    EXPECT_EQ(date(30.0 / 86400), "\"1899-12-30 00:00:30\"");
    EXPECT_EQ(date(2958464.5), "\"9999-12-30 12:00:00\"");
    // mdbtools' own edges: no conversion outside its range, no carry into the next day.
    EXPECT_EQ(date(-1e-9), "\"1900-01-00 00:00:00\"");
    EXPECT_EQ(date(-94.43), "\"1900-01-00 00:00:00\"");
    EXPECT_EQ(date(2958465), "\"1900-01-00 00:00:00\"");
    EXPECT_EQ(date(27293.99999999), "\"1974-09-21 24:00:00\"");
}

TEST(ExportTextTest, NumbersTextsAndBinaryValues) {
    EXPECT_EQ(exportText(Variant::currency(35000)), "3.5000");
    EXPECT_EQ(exportText(Variant::currency(-5)), "-0.0005");
    EXPECT_EQ(exportText(Variant::currency(std::numeric_limits<std::int64_t>::min())),
              "-922337203685477.5808");
    EXPECT_EQ(exportText(Variant::real(444.555)), "444.555");
    EXPECT_EQ(exportText(Variant::real(-94.43)), "-94.43000000000001");
    EXPECT_EQ(exportText(Variant::single(-0.00035134f)), "-0.00035133999");
    EXPECT_EQ(exportText(Variant::boolean(true)), "1");
    EXPECT_EQ(exportText(Variant::byte(255)), "255");
    EXPECT_EQ(exportText(Variant::decimal("-1110.554")), "-1110.554");
    EXPECT_EQ(exportText(Variant::text("say \"hi\"")), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(exportText(Variant::bytes("\x01\x02")), "\"\"");
    EXPECT_EQ(exportText(Variant::guid(std::string(16, 'x'))), "\"\"");
    EXPECT_EQ(exportText(Variant::null()), "");
}
