#include "platform/dao/ExportText.h"

#include <glib.h>
#include <mdbtools.h>

#include <cstdio>
#include <ctime>

namespace platform::dao {

namespace {

std::string quoted(const std::string& text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '"')
            result += '"';
        result += c;
    }
    return result + "\"";
}

std::string printed(const char* format, int precision, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    return buffer;
}

std::string currencyText(std::int64_t tenThousandths) {
    bool negative = tenThousandths < 0;
    // The magnitude of the most negative value does not fit the signed type.
    auto magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                              : static_cast<std::uint64_t>(tenThousandths);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%llu.%04llu", negative ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 10000),
                  static_cast<unsigned long long>(magnitude % 10000));
    return buffer;
}

std::string dateText(double days) {
    std::tm parts{};
    mdb_date_to_tm(days, &parts);
    char buffer[64];
    std::size_t length = std::strftime(buffer, sizeof buffer, exportDateFormat, &parts);
    return std::string(buffer, length);
}

} // namespace

std::string exportText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Boolean:
        return value.booleanValue() ? "1" : "0";
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return std::to_string(value.integerValue());
    case Variant::Type::Currency:
        return currencyText(value.integerValue());
    case Variant::Type::Single:
        return printed("%.*g", 8, value.realValue());
    case Variant::Type::Double:
        return printed("%.*g", 16, value.realValue());
    case Variant::Type::Date:
        return quoted(dateText(value.realValue()));
    case Variant::Type::Text:
        return quoted(value.stringValue());
    case Variant::Type::Decimal:
        return value.stringValue();
    case Variant::Type::Bytes:
    case Variant::Type::Guid:
        return "\"\"";
    default:
        return {};
    }
}

} // namespace platform::dao
