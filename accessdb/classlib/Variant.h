#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace accessdb {

// A value of any of the kinds a field holds, or Null.
class Variant {
public:
    Variant() = default;
    Variant(bool v) : value_(v) {}
    Variant(int v) : value_(std::int64_t{v}) {}
    Variant(std::int64_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(const char* v) : value_(std::string(v)) {}
    Variant(std::string v) : value_(std::move(v)) {}

    static Variant null() { return {}; }
    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool isString() const { return std::holds_alternative<std::string>(value_); }
    bool isBool() const { return std::holds_alternative<bool>(value_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(value_); }
    bool isFloat() const { return std::holds_alternative<double>(value_); }

    // Conversions; a text that is not a number of the kind asked for is an EConvertError,
    // Null converts to an empty text, 0 or false.
    std::string toString() const;
    std::int64_t toInt64() const;
    double toDouble() const;
    bool toBool() const;

    bool operator==(const Variant& other) const { return value_ == other.value_; }

private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string> value_;
};

// Strict text conversions shared by variants and fields.
std::int64_t textToInt64(const std::string& text);
double textToDouble(const std::string& text);
std::string floatToText(double value);

} // namespace accessdb
