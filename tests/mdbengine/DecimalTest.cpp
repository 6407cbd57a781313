// Decimal and Currency values by their digits: the number type that holds them, and
// statements that write them into files, read back by mdbtools.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/values/DecimalNumber.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace daotest;
using quillan::test::runCommand;

namespace {

std::string digitsOf(const std::optional<DecimalNumber>& number) {
    return number ? number->text() : "none";
}

TEST(DecimalNumberTest, DigitsSurviveArithmeticUpTo38) {
    EXPECT_EQ(digitsOf(DecimalNumber::parse(" -012.50 ")), "-12.50");
    EXPECT_EQ(digitsOf(DecimalNumber::parse("+.5")), "0.5");
    EXPECT_EQ(digitsOf(DecimalNumber::parse("-0.00")), "0.00") << "no negative zero";
    for (const char* notPlain : {"", ".", "1e5", "1.2.3", "- 1", "12a", "0x10"})
        EXPECT_EQ(digitsOf(DecimalNumber::parse(notPlain)), "none") << notPlain;
    const std::string largest(38, '9');
    EXPECT_EQ(digitsOf(DecimalNumber::parse(largest)), largest);
    EXPECT_EQ(digitsOf(DecimalNumber::parse("1" + std::string(38, '0'))), "none");

    auto number = [](const std::string& text) { return *DecimalNumber::parse(text); };
    EXPECT_EQ(digitsOf(DecimalNumber::sum(number("999999999999999999"), number("1"))),
              "1000000000000000000");
    EXPECT_EQ(digitsOf(DecimalNumber::sum(number("1.25"), number("-3.5"))), "-2.25");
    EXPECT_EQ(digitsOf(DecimalNumber::sum(number("-1.25"), number("1.25"))), "0.00");
    EXPECT_EQ(digitsOf(DecimalNumber::product(number("-1.5"), number("0.25"))), "-0.375");
    EXPECT_EQ(digitsOf(DecimalNumber::sum(*DecimalNumber::parse(largest), number("1"))), "none");
    EXPECT_EQ(digitsOf(DecimalNumber::product(number("1" + std::string(20, '0')).negated(),
                                              number("1" + std::string(18, '0')))),
              "none");
    EXPECT_EQ(digitsOf(DecimalNumber::sum(number("1"), number("0." + std::string(37, '1')))),
              "1." + std::string(37, '1'));
    EXPECT_EQ(digitsOf(DecimalNumber::sum(number("10"), number("0." + std::string(37, '1')))),
              "none")
        << "39 digits";

    EXPECT_EQ(DecimalNumber::compare(number("123456789012345678"), number("123456789012345677")),
              1);
    EXPECT_EQ(DecimalNumber::compare(number("-2.50"), number("-2.5")), 0);
    EXPECT_EQ(DecimalNumber::compare(number("-3"), number("-2.5")), -1);
    EXPECT_EQ(DecimalNumber::compare(*DecimalNumber::parse(largest), number("0.5")), 1)
        << "too large to take the other's places";
}

TEST(DecimalNumberTest, CurrencyAmountsConvertBothWays) {
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t least = std::numeric_limits<std::int64_t>::min();
    for (std::int64_t units : {most, least, std::int64_t{-1}, std::int64_t{35000}}) {
        std::optional<DecimalNumber> amount = DecimalNumber::of(Variant::currency(units));
        ASSERT_TRUE(amount);
        EXPECT_EQ(amount->tenThousandths(), units) << amount->text();
    }
    EXPECT_EQ(digitsOf(DecimalNumber::of(Variant::currency(least))), "-922337203685477.5808");
    EXPECT_EQ(DecimalNumber::parse("922337203685477.5808")->tenThousandths(), std::nullopt);
    EXPECT_EQ(DecimalNumber::parse("1.00001")->tenThousandths(), std::nullopt);
    EXPECT_EQ(DecimalNumber::parse("-7.5")->tenThousandths(), -75000);
    EXPECT_EQ(digitsOf(DecimalNumber::of(Variant::boolean(true))), "-1");
    EXPECT_EQ(digitsOf(DecimalNumber::of(Variant::real(1.5))), "none");
}

class DecimalSqlTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    std::string sql(const std::string& path, const std::string& statement) {
        return runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(path) + " " +
                          shellQuoted(statement) + " 2>&1");
    }

    ScratchFolder scratch;
};

// The Numeric(18,0) columns of this file take every number of up to 18 digits as typed,
// ties rounded away from zero; one of 19 digits is refused with the file as it was.
TEST_F(DecimalSqlTest, EighteenDigitsGoInAsTyped) {
    std::string path = scratch.copy("jackcess/fixedNumericTestV2000.mdb");
    const std::string one = "1 rows affected\n";
    EXPECT_EQ(sql(path, "UPDATE test SET col2 = 123456789012345678, col3 = 999999999999999999, "
                        "col4 = -999999999999999999, col5 = 2.5, col6 = -2.5"),
              one);
    EXPECT_EQ(sql(path, "UPDATE test SET col7 = col2 + 1 WHERE col2 > 123456789012345677 AND "
                        "col3 = 999999999999999999"),
              one);
    std::string before = sha256(path);
    EXPECT_EQ(sql(path, "UPDATE test SET col5 = col3 + 1"),
              "mdbsql: 3349 The value is out of the field's range.\n");
    EXPECT_EQ(sql(path, "UPDATE test SET col5 = 1000000000000000000"),
              "mdbsql: 3349 The value is out of the field's range.\n");
    EXPECT_EQ(sha256(path), before);
    EXPECT_EQ(lines(mdbExport(path, "test")),
              (std::vector<std::string>{"col1,col2,col3,col4,col5,col6,col7",
                                        "\"some data\",123456789012345678,999999999999999999,"
                                        "-999999999999999999,3,-3,123456789012345679"}));
}

// A Numeric(12,3) and a Currency column: ties at the field's places go away from zero,
// amounts at the ends of Currency's range are kept, and arithmetic keeps the digits.
TEST_F(DecimalSqlTest, PlacesRoundHalfAwayFromZeroAndCurrencyKeepsItsRange) {
    std::string functions = scratch.copy("ucanaccess/functionsV2000.mdb");
    const std::string one = "1 rows affected\n";
    EXPECT_EQ(sql(functions, "UPDATE t_funcs SET num = -1.2345 WHERE num < 0"), one);
    EXPECT_NE(mdbExport(functions, "t_funcs").find(",-1.235,"), std::string::npos);
    EXPECT_EQ(sql(functions, "UPDATE t_funcs SET num = num * -2 + 0.0005"), one);
    EXPECT_NE(mdbExport(functions, "t_funcs").find(",2.471,"), std::string::npos);
    EXPECT_EQ(sql(functions, "UPDATE t_funcs SET num = 999999999.9995"),
              "mdbsql: 3349 The value is out of the field's range.\n");
    EXPECT_EQ(sql(functions, "SELECT num FROM t_funcs WHERE num BETWEEN 2.471 AND 2.4710"),
              "num\n2.471\n");

    std::string money = scratch.copy("jackcess/testV2000.mdb");
    EXPECT_EQ(sql(money, "UPDATE Table1 SET H = 922337203685477.5807 WHERE A = 'a'"), one);
    EXPECT_EQ(sql(money, "UPDATE Table1 SET H = -123456789012345.12345 WHERE A = 'abcdefg'"), one);
    // ...5 at the fifth place goes away from zero: .1235, then .1236.
    EXPECT_EQ(sql(money, "UPDATE Table1 SET H = H - 0.0001 WHERE H < 0"), one);
    std::string before = sha256(money);
    EXPECT_EQ(sql(money, "UPDATE Table1 SET H = H + 0.0001"),
              "mdbsql: 3349 The value is out of the field's range.\n");
    EXPECT_EQ(sha256(money), before);
    std::string exported = mdbExport(money, "Table1");
    EXPECT_NE(exported.find(",922337203685477.5807,"), std::string::npos) << exported;
    EXPECT_NE(exported.find(",-123456789012345.1236,"), std::string::npos) << exported;
    EXPECT_EQ(sql(money, "UPDATE Table1 SET H = '1.5E3', F = 0.1 WHERE A = 'a'"), one);
    EXPECT_EQ(sql(money, "SELECT H, F FROM Table1 WHERE A = 'a'"), "H,F\n1500.0000,0.1\n");
}

} // namespace
