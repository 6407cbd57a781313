#pragma once

#include <cstdint>

namespace quillan {

// The nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4), on the extended
// product the caller hands in. Printed positions are rounded this way on every axis, so a
// layout lands on the same device pixels whatever the floating-point environment is.
int32_t roundHalfEven(long double value);

} // namespace quillan
