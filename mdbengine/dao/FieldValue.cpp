#include "mdbengine/dao/FieldValue.h"

#include "mdbengine/tables/DecimalText.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/tables/UnencodableText.h"
#include "mdbengine/values/DecimalNumber.h"
#include "mdbengine/values/JetDate.h"
#include "mdbengine/values/Utf8.h"
#include "mdbengine/values/VariantText.h"
#include "mdbengine/values/Windows1252.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

namespace mdbengine {

using file::ColumnType;

namespace {

// The places of a Currency amount.
constexpr unsigned currencyPlaces = 4;

bool parseNumber(const std::string& text, double& value) {
    std::size_t start = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (start == std::string::npos)
        return false;
    std::string trimmed = text.substr(start, end - start + 1);
    char* stop = nullptr;
    value = std::strtod(trimmed.c_str(), &stop);
    return stop == trimmed.c_str() + trimmed.size() && std::isfinite(value);
}

// A value read as a number; integral values are also kept exactly.
struct Number {
    double value = 0;
    std::optional<std::int64_t> integral;
};

// A Decimal without places that fits 64 bits, exactly.
std::optional<std::int64_t> wholeDecimal(const Variant& value) {
    std::optional<DecimalNumber> number = DecimalNumber::of(value);
    std::optional<std::int64_t> units = number ? number->tenThousandths() : std::nullopt;
    if (!units || *units % 10000 != 0 || value.stringValue().find('.') != std::string::npos)
        return std::nullopt;
    return *units / 10000;
}

std::optional<Number> numberOf(const Variant& value) {
    Number number;
    switch (value.type()) {
    case Variant::Type::Boolean:
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        number.integral = value.integerValue();
        number.value = static_cast<double>(*number.integral);
        return number;
    case Variant::Type::Currency:
    case Variant::Type::Single:
    case Variant::Type::Double:
    case Variant::Type::Date:
        number.value = value.toDouble();
        break;
    case Variant::Type::Text:
        if (!parseNumber(value.stringValue(), number.value))
            return std::nullopt;
        break;
    case Variant::Type::Decimal:
        number.value = value.toDouble();
        number.integral = wholeDecimal(value);
        break;
    default:
        return std::nullopt;
    }
    if (!std::isfinite(number.value))
        return std::nullopt;
    return number;
}

// Whole numbers are rounded half to even, as assignments to integer fields round.
Status wholeNumber(const Variant& value, std::int64_t low, std::int64_t high, Errors& errors,
                   std::int64_t& result) {
    std::optional<Number> number = numberOf(value);
    if (!number)
        return errors.fail(ErrorNumber::ConversionError);
    std::int64_t integral = 0;
    if (number->integral) {
        integral = *number->integral;
    } else {
        double rounded = std::nearbyint(number->value);
        if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
            return errors.fail(ErrorNumber::NumericOverflow);
        integral = static_cast<std::int64_t>(rounded);
    }
    if (integral < low || integral > high)
        return errors.fail(ErrorNumber::NumericOverflow);
    result = integral;
    return statusOk;
}

Status booleanOf(const Variant& value, Errors& errors, Variant& converted) {
    if (value.isString()) {
        const std::string& text = value.stringValue();
        for (const char* yes : {"True", "Yes", "On"})
            if (file::sameName(text, yes)) {
                converted = Variant::boolean(true);
                return statusOk;
            }
        for (const char* no : {"False", "No", "Off"})
            if (file::sameName(text, no)) {
                converted = Variant::boolean(false);
                return statusOk;
            }
    }
    std::optional<Number> number = numberOf(value);
    if (!number)
        return errors.fail(ErrorNumber::ConversionError);
    converted = Variant::boolean(number->value != 0);
    return statusOk;
}

// A number as a decimal keeps it: texts and decimals as written, whole numbers and
// currency amounts exactly, floating-point numbers (and texts with an exponent) as printed
// to `places` places. Empty when the value is no number.
std::string printedTo(double real, unsigned places) {
    if (!std::isfinite(real) || std::fabs(real) >= 1e38)
        return "1e38"; // too large for any decimal
    char printed[96];
    std::snprintf(printed, sizeof printed, "%.*f", static_cast<int>(places), real);
    return printed;
}

std::string decimalWritten(const Variant& value, unsigned places) {
    double real = 0;
    switch (value.type()) {
    case Variant::Type::Text:
        // A number with an exponent ("1.5E3") is read as a double.
        if (!DecimalNumber::parse(value.stringValue()) && parseNumber(value.stringValue(), real))
            return printedTo(real, places);
        return value.stringValue();
    case Variant::Type::Decimal:
        return value.stringValue();
    case Variant::Type::Boolean:
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return std::to_string(value.integerValue());
    case Variant::Type::Currency: {
        std::int64_t units = value.integerValue();
        auto magnitude =
            units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
        return (units < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." +
               std::to_string(10000 + magnitude % 10000).substr(1);
    }
    case Variant::Type::Single:
    case Variant::Type::Double:
    case Variant::Type::Date:
        return printedTo(value.toDouble(), places);
    default:
        return {};
    }
}

// Whether what decimalWritten gave is a number at all (else a conversion error, not an
// overflow).
bool numberGiven(const std::string& written) {
    double number = 0;
    return parseNumber(written, number);
}

// A number as a Currency field keeps it: by its digits, rounded half away from zero to four
// places; a double as printed to them.
Status currencyOf(const Variant& value, Errors& errors, Variant& converted) {
    if (value.type() == Variant::Type::Currency) {
        converted = value;
        return statusOk;
    }
    std::string written = decimalWritten(value, currencyPlaces);
    std::optional<std::string> scaled = file::scaledDecimalText(written, 38, currencyPlaces);
    std::optional<DecimalNumber> number =
        scaled ? DecimalNumber::parse(*scaled) : std::optional<DecimalNumber>();
    std::optional<std::int64_t> units = number ? number->tenThousandths() : std::nullopt;
    if (!units)
        return errors.fail(numberGiven(written) ? ErrorNumber::NumericOverflow
                                                : ErrorNumber::ConversionError);
    converted = Variant::currency(*units);
    return statusOk;
}

// A text given to a Date/Time field is read as a date; what is not one is refused.
Status dateOfText(const std::string& text, Errors& errors, Variant& converted) {
    std::optional<double> days = parseJetDate(text);
    if (!days)
        return errors.fail(ErrorNumber::ConversionError);
    converted = Variant::date(*days);
    return statusOk;
}

Status realOf(const file::Column& column, const Variant& value, Errors& errors,
              Variant& converted) {
    if (column.type == ColumnType::DateTime && value.type() == Variant::Type::Text)
        return dateOfText(value.stringValue(), errors, converted);
    std::optional<Number> read = numberOf(value);
    if (!read)
        return errors.fail(ErrorNumber::ConversionError);
    double number = read->value;
    if (column.type == ColumnType::Single) {
        if (std::fabs(number) > FLT_MAX)
            return errors.fail(ErrorNumber::NumericOverflow);
        converted = Variant::single(static_cast<float>(number));
    } else if (column.type == ColumnType::DateTime) {
        converted = Variant::date(number);
    } else {
        converted = Variant::real(number);
    }
    return statusOk;
}

Status textOfColumn(const file::Column& column, const Variant& value, bool jet4, Errors& errors,
                    Variant& converted) {
    if (value.type() == Variant::Type::Date || value.type() == Variant::Type::Bytes ||
        value.type() == Variant::Type::Guid)
        return errors.fail(ErrorNumber::ConversionError);
    std::string text = textOf(value);
    if (!isUtf8(text))
        return errors.fail(ErrorNumber::ConversionError, {},
                           "The text given to '" + column.name + "' is not UTF-8.");
    if (!jet4)
        if (std::optional<char32_t> outside = firstOutsideWindows1252(text))
            return errors.fail(ErrorNumber::ConversionError, {},
                               std::string(file::UnencodableText(column.name, *outside).what()) +
                                   ".");
    // Jet4 counts UTF-16 units; Jet3 one byte a character.
    std::size_t room = jet4 ? column.length / 2u : column.length;
    std::size_t length = jet4 ? utf16Length(text) : characterCount(text);
    if (column.type == ColumnType::Text && length > room)
        return errors.fail(ErrorNumber::FieldTooSmall, {},
                           "'" + column.name + "' holds " + std::to_string(room) +
                               " characters; the value has " + std::to_string(length) + ".");
    converted = Variant::text(std::move(text));
    return statusOk;
}

Status decimalOf(const file::Column& column, const Variant& value, Errors& errors,
                 Variant& converted) {
    std::string written = decimalWritten(value, column.scale);
    std::optional<std::string> scaled =
        file::scaledDecimalText(written, column.precision, column.scale);
    if (!scaled)
        return errors.fail(numberGiven(written) ? ErrorNumber::NumericOverflow
                                                : ErrorNumber::ConversionError);
    converted = Variant::decimal(std::move(*scaled));
    return statusOk;
}

Status bytesOf(const Variant& value, Errors& errors, Variant& converted) {
    if (value.type() != Variant::Type::Bytes && value.type() != Variant::Type::Text)
        return errors.fail(ErrorNumber::ConversionError);
    converted = Variant::bytes(value.stringValue());
    return statusOk;
}

} // namespace

bool columnWritable(const file::Column& column, std::string* why) {
    auto refuse = [&](const std::string& reason) {
        if (why)
            *why = "'" + column.name + "' " + reason;
        return false;
    };
    if (column.isAutoNumber())
        return refuse("is numbered by the engine.");
    switch (column.type) {
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Currency:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Ole:
    case ColumnType::Numeric:
        return true;
    default:
        return refuse("has a type whose values cannot be written.");
    }
}

Status convertForColumn(const file::Column& column, const Variant& value, bool jet4, Errors& errors,
                        Variant& converted) {
    if (value.isMissing())
        return errors.fail(ErrorNumber::InvalidArgument);
    if (value.isNull() || value.isEmpty()) {
        converted = column.type == ColumnType::Boolean ? Variant::boolean(false) : Variant::null();
        return statusOk;
    }
    std::int64_t whole = 0;
    Status status = statusOk;
    switch (column.type) {
    case ColumnType::Boolean:
        return booleanOf(value, errors, converted);
    case ColumnType::Byte:
        status = wholeNumber(value, 0, 255, errors, whole);
        converted = Variant::byte(static_cast<std::uint8_t>(whole));
        return status;
    case ColumnType::Integer:
        status = wholeNumber(value, -32768, 32767, errors, whole);
        converted = Variant::integer(static_cast<std::int16_t>(whole));
        return status;
    case ColumnType::Long:
        status = wholeNumber(value, std::numeric_limits<std::int32_t>::min(),
                             std::numeric_limits<std::int32_t>::max(), errors, whole);
        converted = Variant::longInteger(static_cast<std::int32_t>(whole));
        return status;
    case ColumnType::Currency:
        return currencyOf(value, errors, converted);
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
        return realOf(column, value, errors, converted);
    case ColumnType::Text:
    case ColumnType::Memo:
        return textOfColumn(column, value, jet4, errors, converted);
    case ColumnType::Ole:
        return bytesOf(value, errors, converted);
    case ColumnType::Numeric:
        return decimalOf(column, value, errors, converted);
    default:
        return errors.fail(ErrorNumber::NotSupported);
    }
}

} // namespace mdbengine
