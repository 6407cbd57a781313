#pragma once

#include "accessdb/access/TDAOUnknown.h"

namespace accessdb {

// A collection: its count and its items by position.
class TDAOCollection : public TDAOUnknown {
public:
    // Read as a 32-bit count and used as 16 bits.
    virtual std::int16_t count() = 0;
};

} // namespace accessdb
