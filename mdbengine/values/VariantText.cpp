#include "mdbengine/values/VariantText.h"

#include <cstdio>

namespace mdbengine {

std::string textOf(const Variant& value) {
    char buffer[48];
    switch (value.type()) {
    case Variant::Type::Boolean:
        return value.booleanValue() ? "True" : "False";
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return std::to_string(value.integerValue());
    case Variant::Type::Currency:
    case Variant::Type::Single:
    case Variant::Type::Double:
    case Variant::Type::Date:
        std::snprintf(buffer, sizeof buffer, "%.15g", value.toDouble());
        return buffer;
    case Variant::Type::Null:
    case Variant::Type::Empty:
    case Variant::Type::Missing:
        return {};
    default:
        return value.stringValue();
    }
}

} // namespace mdbengine
