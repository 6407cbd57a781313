#include "platform/dao/KeyOrder.h"

#include "platform/dao/jet/Names.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace platform::dao {

namespace {

bool isText(const Variant& v) {
    return v.type() == Variant::Type::Text;
}

bool isBytes(const Variant& v) {
    return v.type() == Variant::Type::Bytes || v.type() == Variant::Type::Guid ||
           v.type() == Variant::Type::Decimal;
}

// NaN (only a damaged file holds one) before every number, so that the order stays total.
int compareDoubles(double x, double y) {
    if (std::isnan(x) || std::isnan(y))
        return std::isnan(x) == std::isnan(y) ? 0 : (std::isnan(x) ? -1 : 1);
    return x < y ? -1 : (x > y);
}

int compareNumbers(const Variant& a, const Variant& b) {
    if (a.type() != Variant::Type::Single && a.type() != Variant::Type::Double &&
        a.type() != Variant::Type::Date && a.type() == b.type())
        return a.integerValue() < b.integerValue() ? -1 : (a.integerValue() > b.integerValue());
    return compareDoubles(a.toDouble(), b.toDouble());
}

int compareText(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(jet::upperAscii(a[i]));
        auto y = static_cast<unsigned char>(jet::upperAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size());
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

} // namespace

int compareKeyValues(const Variant& a, const Variant& b) {
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
            return compareText(a.stringValue(), b.stringValue());
        int order = a.stringValue().compare(b.stringValue());
        return order < 0 ? -1 : (order > 0);
    }
    if (!isText(a) && !isText(b))
        return a.isNumeric() ? -1 : (b.isNumeric() ? 1 : 0);
    // A number against a text: numerically when the text is a number, else numbers first.
    const Variant& text = isText(a) ? a : b;
    const Variant& number = isText(a) ? b : a;
    double parsed = 0;
    int order =
        parseNumber(text.stringValue(), parsed) ? compareDoubles(number.toDouble(), parsed) : -1;
    return isText(a) ? -order : order;
}

} // namespace platform::dao
