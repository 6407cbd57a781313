#include "accessdb/classlib/Variant.h"

#include "accessdb/classlib/Exceptions.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace accessdb {
namespace {

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::int64_t textToInt64(const std::string& text) {
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    std::int64_t v = 0;
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || error != std::errc() || end != t.data() + t.size())
        throw EConvertError("'" + text + "' is not a valid integer value");
    return v;
}

double textToDouble(const std::string& text) {
    std::string t = trimmed(text);
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(t.c_str(), &end);
    if (t.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(v))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return v;
}

std::string floatToText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string Variant::toString() const {
    if (auto* s = std::get_if<std::string>(&value_))
        return *s;
    if (auto* i = std::get_if<std::int64_t>(&value_))
        return std::to_string(*i);
    if (auto* d = std::get_if<double>(&value_))
        return floatToText(*d);
    if (auto* b = std::get_if<bool>(&value_))
        return *b ? "True" : "False";
    return {};
}

std::int64_t Variant::toInt64() const {
    if (auto* s = std::get_if<std::string>(&value_))
        return textToInt64(*s);
    if (auto* i = std::get_if<std::int64_t>(&value_))
        return *i;
    if (auto* d = std::get_if<double>(&value_))
        return static_cast<std::int64_t>(std::llround(*d));
    if (auto* b = std::get_if<bool>(&value_))
        return *b ? -1 : 0;
    return 0;
}

double Variant::toDouble() const {
    if (auto* s = std::get_if<std::string>(&value_))
        return textToDouble(*s);
    if (auto* i = std::get_if<std::int64_t>(&value_))
        return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&value_))
        return *d;
    if (auto* b = std::get_if<bool>(&value_))
        return *b ? -1.0 : 0.0;
    return 0.0;
}

bool Variant::toBool() const {
    if (auto* s = std::get_if<std::string>(&value_)) {
        if (*s == "True" || *s == "TRUE" || *s == "true" || *s == "T" || *s == "t")
            return true;
        if (*s == "False" || *s == "FALSE" || *s == "false" || *s == "F" || *s == "f" || s->empty())
            return false;
        throw EConvertError("'" + *s + "' is not a valid boolean value");
    }
    if (auto* b = std::get_if<bool>(&value_))
        return *b;
    return toInt64() != 0;
}

} // namespace accessdb
