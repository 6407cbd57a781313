#include "mdbengine/tables/KeyOrder.h"

#include "mdbengine/tables/TextKey.h"
#include "mdbengine/values/CaseFold.h"
#include "mdbengine/values/DecimalNumber.h"
#include "mdbengine/values/Windows1252.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace mdbengine::file {

namespace {

bool isText(const Variant& v) {
    return v.type() == Variant::Type::Text;
}

bool isBytes(const Variant& v) {
    return v.type() == Variant::Type::Bytes || v.type() == Variant::Type::Guid;
}

// NaN (only a damaged file holds one) before every number, so that the order stays total.
int compareDoubles(double x, double y) {
    if (std::isnan(x) || std::isnan(y))
        return std::isnan(x) == std::isnan(y) ? 0 : (std::isnan(x) ? -1 : 1);
    return x < y ? -1 : (x > y);
}

int compareNumbers(const Variant& a, const Variant& b) {
    // Decimals by their digits: 18-digit numbers differ where their doubles do not.
    if (a.type() == Variant::Type::Decimal || b.type() == Variant::Type::Decimal) {
        std::optional<DecimalNumber> x = DecimalNumber::of(a);
        std::optional<DecimalNumber> y = DecimalNumber::of(b);
        if (x && y)
            return DecimalNumber::compare(*x, *y);
    }
    if (a.type() != Variant::Type::Single && a.type() != Variant::Type::Double &&
        a.type() != Variant::Type::Date && a.type() == b.type())
        return a.integerValue() < b.integerValue() ? -1 : (a.integerValue() > b.integerValue());
    return compareDoubles(a.toDouble(), b.toDouble());
}

// Keys built into buffers kept from call to call: a sort compares many texts.
std::vector<std::uint8_t>& scratchKey(int which) {
    thread_local std::vector<std::uint8_t> keys[2];
    keys[which].clear();
    return keys[which];
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

} // namespace

int compareTexts(const std::string& a, const std::string& b, TextOrder order) {
    bool jet4 = order == TextOrder::Jet4;
    std::vector<std::uint8_t>& x = scratchKey(0);
    std::vector<std::uint8_t>& y = scratchKey(1);
    file::appendTextKey(a, jet4, x);
    file::appendTextKey(b, jet4, y);
    // A key is never the beginning of another: the shorter one is the smaller.
    auto [ax, ay] = std::mismatch(x.begin(), x.end(), y.begin(), y.end());
    if (ax == x.end())
        return ay == y.end() ? 0 : -1;
    if (ay == y.end())
        return 1;
    return *ax < *ay ? -1 : 1;
}

namespace {

bool keyed(char32_t c) {
    return c < 0x100 || windows1252Byte(c);
}

// Letters whose key tells their cases apart, and whose other case does so too.
bool foldedForComparison(char32_t c) {
    return !keyed(c) && !keyed(caseFolded(c));
}

} // namespace

Variant caselessForm(const Variant& value) {
    if (!isText(value))
        return value;
    const std::string& text = value.stringValue();
    // Below U+0100 the key decides already.
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0xC4; }))
        return value;
    return Variant::text(caseFoldedText(text, foldedForComparison));
}

Variant sortingForm(const Variant& value, TextOrder order) {
    if (!isText(value))
        return value;
    std::vector<std::uint8_t> key;
    file::appendTextKey(value.stringValue(), order == TextOrder::Jet4, key);
    return Variant::bytes(std::string(key.begin(), key.end()));
}

int compareKeyValues(const Variant& a, const Variant& b, TextOrder order) {
    bool aNull = a.isNull() || a.isEmpty();
    bool bNull = b.isNull() || b.isEmpty();
    if (aNull || bNull)
        return aNull == bNull ? 0 : (aNull ? -1 : 1);
    if (a.isNumeric() && b.isNumeric())
        return compareNumbers(a, b);
    bool aString = isText(a) || isBytes(a);
    bool bString = isText(b) || isBytes(b);
    if (aString && bString) {
        if (isText(a) && isText(b))
            return compareTexts(a.stringValue(), b.stringValue(), order);
        int bytes = a.stringValue().compare(b.stringValue());
        return bytes < 0 ? -1 : (bytes > 0);
    }
    if (!isText(a) && !isText(b))
        return a.isNumeric() ? -1 : (b.isNumeric() ? 1 : 0);
    // A number against a text: numerically when the text is a number, else numbers first.
    const Variant& text = isText(a) ? a : b;
    const Variant& number = isText(a) ? b : a;
    double parsed = 0;
    int numeric =
        parseNumber(text.stringValue(), parsed) ? compareDoubles(number.toDouble(), parsed) : -1;
    return isText(a) ? -numeric : numeric;
}

} // namespace mdbengine::file
