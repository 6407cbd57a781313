#include "mdbengine/values/DecimalNumber.h"

#include <algorithm>
#include <cstdlib>

namespace mdbengine {

namespace {

constexpr unsigned mostDigits = 38;

constexpr unsigned __int128 powerOfTen(unsigned n) {
    unsigned __int128 power = 1;
    for (unsigned i = 0; i < n; ++i)
        power *= 10;
    return power;
}

// 10^38: the first magnitude too large.
constexpr unsigned __int128 tooLarge = powerOfTen(mostDigits);

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

DecimalNumber::DecimalNumber(bool negative, Magnitude magnitude, unsigned scale)
    : negative_(negative && magnitude != 0), magnitude_(magnitude), scale_(scale) {}

std::optional<WrittenDecimal> writtenDecimal(std::string_view text) {
    text = trimmed(text);
    WrittenDecimal written;
    written.negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    std::size_t point = std::min(text.find('.'), text.size());
    written.whole = text.substr(0, point);
    written.fraction = point < text.size() ? text.substr(point + 1) : std::string_view();
    if (written.whole.empty() && written.fraction.empty())
        return std::nullopt;
    if (!std::all_of(written.whole.begin(), written.whole.end(), isDigit) ||
        !std::all_of(written.fraction.begin(), written.fraction.end(), isDigit))
        return std::nullopt;
    return written;
}

std::optional<DecimalNumber> DecimalNumber::parse(std::string_view text) {
    std::optional<WrittenDecimal> written = writtenDecimal(text);
    if (!written || written->fraction.size() > mostDigits)
        return std::nullopt;
    Magnitude magnitude = 0;
    for (std::string_view part : {written->whole, written->fraction})
        for (char c : part) {
            magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
            if (magnitude >= tooLarge)
                return std::nullopt;
        }
    return DecimalNumber(written->negative, magnitude,
                         static_cast<unsigned>(written->fraction.size()));
}

std::optional<DecimalNumber> DecimalNumber::of(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Boolean:
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long: {
        std::int64_t n = value.integerValue();
        return DecimalNumber(n < 0, n < 0 ? 0 - static_cast<Magnitude>(n) : n, 0);
    }
    case Variant::Type::Currency: {
        std::int64_t n = value.integerValue();
        // The most negative amount has no positive counterpart in 64 bits.
        Magnitude magnitude =
            n < 0 ? static_cast<Magnitude>(-(n + 1)) + 1 : static_cast<Magnitude>(n);
        return DecimalNumber(n < 0, magnitude, 4);
    }
    case Variant::Type::Decimal:
        return parse(value.stringValue());
    default:
        return std::nullopt;
    }
}

std::string DecimalNumber::text() const {
    std::string digits;
    Magnitude rest = magnitude_;
    do {
        digits += static_cast<char>('0' + static_cast<int>(rest % 10));
        rest /= 10;
    } while (rest != 0);
    while (digits.size() <= scale_)
        digits += '0';
    std::reverse(digits.begin(), digits.end());
    if (scale_ > 0)
        digits.insert(digits.size() - scale_, ".");
    return negative_ ? "-" + digits : digits;
}

double DecimalNumber::toDouble() const {
    return std::strtod(text().c_str(), nullptr);
}

std::optional<std::int64_t> DecimalNumber::tenThousandths() const {
    if (scale_ > 4)
        return std::nullopt;
    std::optional<Magnitude> units = scaledTo(4 - scale_);
    constexpr Magnitude largest = static_cast<Magnitude>(INT64_MAX);
    if (!units || *units > largest + (negative_ ? 1 : 0))
        return std::nullopt;
    if (negative_)
        return static_cast<std::int64_t>(0 - *units);
    return static_cast<std::int64_t>(*units);
}

std::optional<DecimalNumber::Magnitude> DecimalNumber::scaledTo(unsigned places) const {
    if (places > mostDigits)
        return magnitude_ == 0 ? std::optional<Magnitude>(0) : std::nullopt;
    Magnitude factor = powerOfTen(places);
    if (magnitude_ != 0 && magnitude_ >= tooLarge / factor + (tooLarge % factor != 0))
        return std::nullopt;
    return magnitude_ * factor;
}

std::optional<DecimalNumber> DecimalNumber::sum(const DecimalNumber& a, const DecimalNumber& b) {
    unsigned scale = std::max(a.scale_, b.scale_);
    std::optional<Magnitude> x = a.scaledTo(scale - a.scale_);
    std::optional<Magnitude> y = b.scaledTo(scale - b.scale_);
    if (!x || !y)
        return std::nullopt;
    if (a.negative_ == b.negative_) {
        if (*x + *y >= tooLarge)
            return std::nullopt;
        return DecimalNumber(a.negative_, *x + *y, scale);
    }
    if (*x >= *y)
        return DecimalNumber(a.negative_, *x - *y, scale);
    return DecimalNumber(b.negative_, *y - *x, scale);
}

std::optional<DecimalNumber> DecimalNumber::product(const DecimalNumber& a,
                                                    const DecimalNumber& b) {
    unsigned scale = a.scale_ + b.scale_;
    if (a.magnitude_ == 0 || b.magnitude_ == 0)
        return DecimalNumber(false, 0, std::min(scale, mostDigits));
    Magnitude result = 0;
    if (__builtin_mul_overflow(a.magnitude_, b.magnitude_, &result) || result >= tooLarge ||
        scale > mostDigits)
        return std::nullopt;
    return DecimalNumber(a.negative_ != b.negative_, result, scale);
}

DecimalNumber DecimalNumber::negated() const {
    return DecimalNumber(!negative_, magnitude_, scale_);
}

int DecimalNumber::compare(const DecimalNumber& a, const DecimalNumber& b) {
    if (a.negative_ != b.negative_)
        return a.negative_ ? -1 : 1;
    int sign = a.negative_ ? -1 : 1;
    unsigned scale = std::max(a.scale_, b.scale_);
    std::optional<Magnitude> x = a.scaledTo(scale - a.scale_);
    std::optional<Magnitude> y = b.scaledTo(scale - b.scale_);
    // A magnitude that cannot take the other's places is the larger one.
    if (!x)
        return sign;
    if (!y)
        return -sign;
    return *x == *y ? 0 : (*x < *y ? -sign : sign);
}

} // namespace mdbengine
