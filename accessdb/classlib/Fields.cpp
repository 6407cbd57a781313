#include "accessdb/classlib/Fields.h"

#include "accessdb/classlib/Bcd.h"
#include "accessdb/classlib/Exceptions.h"
#include "accessdb/classlib/TDataSet.h"
#include "accessdb/engine/EngineDates.h"
#include "accessdb/engine/PackedBytes.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace accessdb {
namespace {

template <typename T>
void store(Byte* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

} // namespace

Variant TStringField::value() const {
    // Most texts fit a buffer on the stack.
    Byte small[264];
    std::vector<Byte> large;
    Byte* buffer = small;
    if (static_cast<std::size_t>(dataSize()) + 1 > sizeof small) {
        large.resize(static_cast<std::size_t>(dataSize()) + 1);
        buffer = large.data();
    }
    std::memset(buffer, 0, static_cast<std::size_t>(dataSize()) + 1);
    if (!getData(buffer))
        return Variant::null();
    return std::string(
        reinterpret_cast<const char*>(buffer),
        ::strnlen(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size())));
}

void TStringField::setValue(const Variant& value) {
    if (value.isNull())
        return setData(nullptr);
    setText(value.toString());
}

void TStringField::setText(const std::string& text) {
    if (static_cast<int>(text.size()) > size())
        throw EDatabaseError("Field '" + fieldName() + "' is too small for the value '" + text +
                             "'");
    Byte small[264];
    std::vector<Byte> large;
    Byte* buffer = small;
    if (static_cast<std::size_t>(dataSize()) > sizeof small) {
        large.resize(static_cast<std::size_t>(dataSize()));
        buffer = large.data();
    }
    std::memcpy(buffer, text.data(), text.size());
    std::memset(buffer + text.size(), 0, static_cast<std::size_t>(dataSize()) - text.size());
    setData(buffer);
}

int TIntegerField::dataSize() const {
    switch (dataType()) {
    case TFieldType::Smallint:
    case TFieldType::Word:
        return 2;
    case TFieldType::Largeint:
        return 8;
    default:
        return 4;
    }
}

std::int64_t TIntegerField::minValue() const {
    switch (dataType()) {
    case TFieldType::Smallint:
        return engineLength() == 1 ? 0 : std::numeric_limits<std::int16_t>::min();
    case TFieldType::Word:
        return 0;
    case TFieldType::Largeint:
        return std::numeric_limits<std::int64_t>::min();
    default:
        return std::numeric_limits<std::int32_t>::min();
    }
}

std::int64_t TIntegerField::maxValue() const {
    switch (dataType()) {
    case TFieldType::Smallint:
        return engineLength() == 1 ? 255 : std::numeric_limits<std::int16_t>::max();
    case TFieldType::Word:
        return std::numeric_limits<std::uint16_t>::max();
    case TFieldType::Largeint:
        return std::numeric_limits<std::int64_t>::max();
    default:
        return std::numeric_limits<std::int32_t>::max();
    }
}

Variant TIntegerField::value() const {
    Byte buffer[8] = {};
    if (!getData(buffer))
        return Variant::null();
    switch (dataType()) {
    case TFieldType::Smallint:
        return std::int64_t{load<std::int16_t>(buffer)};
    case TFieldType::Word:
        return std::int64_t{load<std::uint16_t>(buffer)};
    case TFieldType::Largeint:
        return load<std::int64_t>(buffer);
    default:
        return std::int64_t{load<std::int32_t>(buffer)};
    }
}

void TIntegerField::setValue(const Variant& value) {
    if (value.isNull())
        return setData(nullptr);
    setInteger(value.toInt64());
}

void TIntegerField::setInteger(std::int64_t v) {
    if (v < minValue() || v > maxValue())
        rangeError(static_cast<double>(v), static_cast<double>(minValue()),
                   static_cast<double>(maxValue()));
    Byte buffer[8] = {};
    switch (dataType()) {
    case TFieldType::Smallint:
        store(buffer, static_cast<std::int16_t>(v));
        break;
    case TFieldType::Word:
        store(buffer, static_cast<std::uint16_t>(v));
        break;
    case TFieldType::Largeint:
        store(buffer, v);
        break;
    default:
        store(buffer, static_cast<std::int32_t>(v));
    }
    setData(buffer);
}

Variant TBooleanField::value() const {
    Byte buffer[2] = {};
    if (!getData(buffer))
        return Variant::null();
    return load<std::int16_t>(buffer) != 0;
}

void TBooleanField::setValue(const Variant& value) {
    if (value.isNull())
        return setData(nullptr);
    Byte buffer[2] = {};
    store(buffer, static_cast<std::int16_t>(value.toBool() ? -1 : 0));
    setData(buffer);
}

Variant TFloatField::value() const {
    Byte buffer[8] = {};
    if (!getData(buffer))
        return Variant::null();
    return load<double>(buffer);
}

void TFloatField::setValue(const Variant& value) {
    if (value.isNull())
        return setData(nullptr);
    Byte buffer[8] = {};
    store(buffer, value.toDouble());
    setData(buffer);
}

std::string TBCDField::exactText() const {
    BcdBytes bcd{};
    if (!getData(bcd.data()))
        return {};
    return bcdToText(bcd.data());
}

Variant TBCDField::value() const {
    std::string text = exactText();
    if (text.empty())
        return Variant::null();
    return textToDouble(text);
}

std::string TBCDField::textOf(const Variant& value) const {
    return value.isNull() ? std::string() : exactText();
}

void TBCDField::setValue(const Variant& value) {
    if (value.isNull())
        return setData(nullptr);
    std::string text = value.toString();
    if (value.isFloat()) {
        char digits[400];
        std::snprintf(digits, sizeof digits, "%.*f", size(), value.toDouble());
        text = digits;
    }
    std::optional<BcdBytes> bcd = bcdFromText(text, precision_, size());
    if (!bcd)
        throw EDatabaseError("'" + text + "' is not a valid value for field '" + fieldName() + "'");
    setData(bcd->data());
}

Variant TDateTimeField::value() const {
    Byte buffer[8] = {};
    if (!getData(buffer))
        return Variant::null();
    double stored = load<double>(buffer);
    if (dataType() == TFieldType::DateTime)
        return stored / MsPerDay - TimestampEpochDays;
    return stored;
}

void TDateTimeField::setValue(const Variant& value) {
    if (value.isNull())
        return setData(nullptr);
    double days = value.toDouble();
    double stored =
        dataType() == TFieldType::DateTime ? (days + TimestampEpochDays) * MsPerDay : days;
    Byte buffer[8] = {};
    store(buffer, stored);
    setData(buffer);
}

std::string TDateTimeField::textOf(const Variant& value) const {
    if (value.isNull())
        return {};
    double days = value.toDouble();
    long long whole = static_cast<long long>(std::floor(days));
    long long seconds = std::llround((days - static_cast<double>(whole)) * 86400.0);
    if (seconds == 86400) {
        ++whole;
        seconds = 0;
    }
    std::string date = dateText(whole);
    char time[48];
    std::snprintf(time, sizeof time, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    if (dataType() == TFieldType::Date || (seconds == 0 && dataType() != TFieldType::Time))
        return date;
    if (dataType() == TFieldType::Time)
        return time;
    return date + " " + time;
}

Variant TBytesField::value() const {
    std::vector<Byte> buffer(static_cast<std::size_t>(dataSize()) + 1, 0);
    if (!getData(buffer.data()))
        return Variant::null();
    return std::string(reinterpret_cast<const char*>(buffer.data()),
                       static_cast<std::size_t>(dataSize()));
}

void TBytesField::setValue(const Variant& value) {
    if (value.isNull())
        return setData(nullptr);
    std::string bytes = value.toString();
    if (static_cast<int>(bytes.size()) > dataSize())
        throw EDatabaseError("Field '" + fieldName() + "' is too small for the value");
    std::vector<Byte> buffer(static_cast<std::size_t>(dataSize()), 0);
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    setData(buffer.data());
}

Variant TBlobField::value() const {
    if (!dataSet())
        throw EDatabaseError("Field '" + fieldName() + "' has no dataset");
    std::string data = dataSet()->getBlobFieldData(const_cast<TBlobField&>(*this));
    if (data.empty())
        return Variant::null();
    return data;
}

void TBlobField::setValue(const Variant& value) {
    if (!dataSet())
        throw EDatabaseError("Field '" + fieldName() + "' has no dataset");
    dataSet()->setBlobFieldData(*this, value.toString());
}

std::unique_ptr<TField> createField(TFieldType type, const std::string& name, int size,
                                    int precision) {
    switch (type) {
    case TFieldType::BCD: {
        auto field = std::make_unique<TBCDField>(name, size);
        if (precision > 0)
            field->setPrecision(precision);
        return field;
    }
    case TFieldType::String:
    case TFieldType::FixedChar:
        return std::make_unique<TStringField>(name, size, type);
    case TFieldType::Smallint:
        return std::make_unique<TSmallintField>(name);
    case TFieldType::Integer:
        return std::make_unique<TIntegerField>(name);
    case TFieldType::Word:
        return std::make_unique<TWordField>(name);
    case TFieldType::AutoInc:
        return std::make_unique<TAutoIncField>(name);
    case TFieldType::Largeint:
        return std::make_unique<TLargeintField>(name);
    case TFieldType::Boolean:
        return std::make_unique<TBooleanField>(name);
    case TFieldType::Float:
        return std::make_unique<TFloatField>(name);
    case TFieldType::Currency:
        return std::make_unique<TCurrencyField>(name);
    case TFieldType::Date:
    case TFieldType::Time:
    case TFieldType::DateTime:
        return std::make_unique<TDateTimeField>(name, type);
    case TFieldType::Bytes:
    case TFieldType::VarBytes:
        return std::make_unique<TBytesField>(name, size, type);
    case TFieldType::Blob:
    case TFieldType::Memo:
    case TFieldType::Graphic:
    case TFieldType::FmtMemo:
    case TFieldType::ParadoxOle:
    case TFieldType::DBaseOle:
    case TFieldType::TypedBinary:
        return std::make_unique<TBlobField>(name, size, type);
    default:
        return nullptr;
    }
}

} // namespace accessdb
