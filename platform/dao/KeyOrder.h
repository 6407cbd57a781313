#pragma once

// The order of index keys: Null first, numbers (dates, currency and Booleans among them,
// True before False as the engine stores it) by value, text without regard to case (ASCII
// letters), bytes as bytes. A text compared with a number is read as one when it is one.

#include "platform/dao/Variant.h"

namespace platform::dao {

int compareKeyValues(const Variant& a, const Variant& b);

} // namespace platform::dao
