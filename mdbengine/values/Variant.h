#pragma once

// A value as the object model hands it over: the typed variant of the automation world.
// Text is UTF-8 (the automation world's text is Unicode); dates are days since 30 December
// 1899 with the time as the fraction; currency is a count of ten-thousandths.

#include <cstdint>
#include <string>

namespace mdbengine {

class Variant {
public:
    enum class Type : std::uint8_t {
        Empty,   // no value given
        Null,    // the database's "no value"
        Missing, // an optional argument left out
        Boolean,
        Byte,
        Integer,
        Long,
        Currency,
        Single,
        Double,
        Date,
        Text,
        Bytes,   // long binary and binary values, byte arrays
        Decimal, // a scaled decimal, held as its text ("-1110.554")
        Guid,    // 16 bytes
    };

    Variant() = default;
    static Variant null() { return Variant(Type::Null); }
    static Variant missing() { return Variant(Type::Missing); }
    static Variant boolean(bool value) { return Variant(Type::Boolean, value ? -1 : 0); }
    static Variant byte(std::uint8_t value) { return Variant(Type::Byte, value); }
    static Variant integer(std::int16_t value) { return Variant(Type::Integer, value); }
    static Variant longInteger(std::int32_t value) { return Variant(Type::Long, value); }
    static Variant currency(std::int64_t tenThousandths) {
        return Variant(Type::Currency, tenThousandths);
    }
    static Variant single(float value);
    static Variant real(double value);
    static Variant date(double days);
    static Variant text(std::string value) { return Variant(Type::Text, std::move(value)); }
    static Variant bytes(std::string value) { return Variant(Type::Bytes, std::move(value)); }
    static Variant decimal(std::string digits) { return Variant(Type::Decimal, std::move(digits)); }
    static Variant guid(std::string sixteenBytes) {
        return Variant(Type::Guid, std::move(sixteenBytes));
    }

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    bool isEmpty() const { return type_ == Type::Empty; }
    bool isMissing() const { return type_ == Type::Missing; }
    bool isNumeric() const;
    bool isString() const { return type_ == Type::Text; }

    // Boolean, Byte, Integer, Long: the value; Currency: the ten-thousandths.
    std::int64_t integerValue() const { return integer_; }
    // Single, Double, Date: the value.
    double realValue() const { return real_; }
    bool booleanValue() const { return integer_ != 0; }
    // Text, Bytes, Decimal, Guid: the contents.
    const std::string& stringValue() const { return string_; }

    // Any number as a double (currency as its amount); 0 for the rest.
    double toDouble() const;

    bool operator==(const Variant& other) const;

private:
    explicit Variant(Type type) : type_(type) {}
    Variant(Type type, std::int64_t value) : type_(type), integer_(value) {}
    Variant(Type type, std::string value) : type_(type), string_(std::move(value)) {}

    Type type_ = Type::Empty;
    std::int64_t integer_ = 0;
    double real_ = 0;
    std::string string_;
};

} // namespace mdbengine
