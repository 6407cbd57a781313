#pragma once

// A number held by its decimal digits, as Decimal and Currency values are: a magnitude of up
// to 38 digits, a sign and the places after the point. Arithmetic on these never passes
// through a binary double, so "123456789012345678" or a tie like "1.2345" stays as typed.

#include "mdbengine/values/Variant.h"

#include <optional>
#include <string>
#include <string_view>

namespace mdbengine {

// A number as written in decimal: "-12.50" is negative, "12" and "50".
struct WrittenDecimal {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
};
// The parts of a number written in decimal (blanks around it, a sign, digits on either side
// of a point or both); none for anything else.
std::optional<WrittenDecimal> writtenDecimal(std::string_view text);

class DecimalNumber {
public:
    // A number written in decimal ("-12.50", " 3 ", "+.5"); none for anything else (an
    // exponent, other characters) or more than 38 digits.
    static std::optional<DecimalNumber> parse(std::string_view text);
    // Whole numbers, Currency and Decimal values; none for the rest.
    static std::optional<DecimalNumber> of(const Variant& value);

    // "-12.50": the places kept, "0" before a point with nothing in front of it.
    std::string text() const;
    double toDouble() const;
    // The currency amount in ten-thousandths when the number has at most four places and
    // fits.
    std::optional<std::int64_t> tenThousandths() const;

    // None when the result needs more than 38 digits.
    static std::optional<DecimalNumber> sum(const DecimalNumber& a, const DecimalNumber& b);
    static std::optional<DecimalNumber> product(const DecimalNumber& a, const DecimalNumber& b);
    DecimalNumber negated() const;

    // -1, 0 or 1.
    static int compare(const DecimalNumber& a, const DecimalNumber& b);

private:
    using Magnitude = unsigned __int128;
    DecimalNumber(bool negative, Magnitude magnitude, unsigned scale);
    // The magnitude with `places` more places; none when that needs more than 38 digits.
    std::optional<Magnitude> scaledTo(unsigned places) const;

    bool negative_ = false;
    Magnitude magnitude_ = 0;
    unsigned scale_ = 0;
};

} // namespace mdbengine
