#pragma once

// The wrappers through which the Access driver reaches the DAO engine. Each wrapper holds
// one engine object (its interface), passes the driver's 8-bit text and values through,
// and keeps the status of its last call: 0, or 0x800A0000 joined with the DAO error
// number. It never throws; the driver checks the status after every call (its low 16 bits
// are non-zero on failure) and reads the engine's Errors for the texts.
//
// Calls that hand out another object (Item, Fields, OpenRecordset ...) keep their status on
// the wrapper they were made on and always return a new wrapper; after a failure it holds
// no object, and every call on it answers 3420 (object closed) and does nothing.

#include "mdbengine/values/Status.h"
#include "mdbengine/values/Variant.h"

#include <cstdint>

namespace accessdb {

using HResult = std::uint32_t;
using mdbengine::Variant;

inline constexpr HResult noInterface = mdbengine::failure(mdbengine::ErrorNumber::ObjectClosed);

// Any wrapper: the status of its last call.
class TDAOUnknown {
public:
    virtual ~TDAOUnknown() = default;
    HResult lastResult() const { return lastResult_; }
    virtual bool hasInterface() const = 0;

protected:
    HResult lastResult_ = 0;
};

} // namespace accessdb
