#pragma once

// Functions a client registers on a cursor for the engine to call during its operations:
// each has a type, the client's data and buffer, and answers how the engine goes on.

#include "accessdb/engine/PackedBytes.h"
#include "accessdb/engine/StatusCodes.h"

#include <cstdint>

namespace accessdb {

using CallbackFunction = std::int32_t (*)(std::uintptr_t clientData, void* info);

struct CursorCallback {
    int type = 0;
    std::uintptr_t clientData = 0;
    void* buffer = nullptr;
    CallbackFunction function = nullptr;
};

// The callback type called for each pending change while a cached-updates cursor applies
// them, with a DelayedUpdateInfo.
constexpr int DelayedUpdateCallback = 21;

// One pending change as its callback sees it: its kind (the record status: 1 modified,
// 2 inserted, 3 deleted), the record as changed and as it was (none for an insert), and
// the engine's refusal when applying it failed (0 before it is applied).
struct DelayedUpdateInfo {
    int kind = 0;
    const Byte* newRecord = nullptr;
    const Byte* oldRecord = nullptr;
    Status error = 0;
};

// What the callback answers: let the engine apply the change, leave it pending, stop
// applying, count it applied (the client did it), or try it again after a refusal. Any
// other answer after a refusal lets the refusal stand.
namespace delayedupdate {
constexpr std::int32_t Apply = 0;
constexpr std::int32_t Skip = 1;
constexpr std::int32_t Abort = 2;
constexpr std::int32_t Applied = 3;
constexpr std::int32_t Retry = 4;
constexpr std::int32_t Fail = 5;
} // namespace delayedupdate

} // namespace accessdb
