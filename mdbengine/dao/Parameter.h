#pragma once

#include "mdbengine/values/Variant.h"

#include <cstdint>
#include <string>

namespace mdbengine {

// A parameter of a stored query: its name, type code and the value set for a run.
class Parameter {
public:
    Parameter(std::string name, std::int16_t type) : name_(std::move(name)), type_(type) {}

    const std::string& name() const { return name_; }
    std::int16_t type() const { return type_; }
    const Variant& value() const { return value_; }
    void setValue(Variant value) { value_ = std::move(value); }

private:
    std::string name_;
    std::int16_t type_;
    Variant value_;
};

} // namespace mdbengine
