#pragma once

#include <cstdint>
#include <string_view>

namespace quillan {

// Numbers a person types into a settings box. Both refuse signs, blanks and anything a
// later reader of the settings file could not convert back.

// Digits only, at least one, and small enough for a 32-bit integer.
bool parseUnsignedWhole(std::string_view text, int32_t& value);

// Digits with at most one decimal point and at least one digit ("2.5", "3", ".5", "5.").
bool parseUnsignedDecimal(std::string_view text, double& value);

} // namespace quillan
