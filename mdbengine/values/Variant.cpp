#include "mdbengine/values/Variant.h"

#include <cstdlib>

namespace mdbengine {

Variant Variant::single(float value) {
    Variant v(Type::Single);
    v.real_ = value;
    return v;
}

Variant Variant::real(double value) {
    Variant v(Type::Double);
    v.real_ = value;
    return v;
}

Variant Variant::date(double days) {
    Variant v(Type::Date);
    v.real_ = days;
    return v;
}

bool Variant::isNumeric() const {
    switch (type_) {
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
    case Type::Currency:
    case Type::Single:
    case Type::Double:
    case Type::Date:
    case Type::Decimal:
        return true;
    default:
        return false;
    }
}

double Variant::toDouble() const {
    switch (type_) {
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return static_cast<double>(integer_);
    case Type::Currency:
        return static_cast<double>(integer_) / 10000.0;
    case Type::Single:
    case Type::Double:
    case Type::Date:
        return real_;
    case Type::Decimal:
        return std::strtod(string_.c_str(), nullptr);
    default:
        return 0;
    }
}

bool Variant::operator==(const Variant& other) const {
    return type_ == other.type_ && integer_ == other.integer_ && real_ == other.real_ &&
           string_ == other.string_;
}

} // namespace mdbengine
