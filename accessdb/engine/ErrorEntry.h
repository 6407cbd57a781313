#pragma once

#include "accessdb/engine/PackedBytes.h"
#include "accessdb/engine/StatusCodes.h"

#include <array>
#include <string>

namespace accessdb {

class ETorvaneEngineError;

// One error-stack entry in the fixed 908-byte layout that callers copy out.
struct ErrorEntry {
    static constexpr std::size_t NativeErrorOffset = 0;
    static constexpr std::size_t DriverMessageOffset = 4;
    static constexpr std::size_t DriverMessageSize = 261;
    static constexpr std::size_t CodeOffset = 265;
    static constexpr std::size_t CodeTextOffset = 267;
    static constexpr std::size_t CodeTextSize = 128;
    static constexpr std::size_t ContextOffset = 395;
    static constexpr std::size_t ContextSize = 128;
    static constexpr std::size_t ContextCount = 4;
    static constexpr std::size_t SpareOffset = ContextOffset + ContextCount * ContextSize;
    static constexpr std::size_t Size = 908;
    static_assert(DriverMessageOffset + DriverMessageSize == CodeOffset);
    static_assert(CodeTextOffset + CodeTextSize == ContextOffset);
    static_assert(SpareOffset + 1 == Size);

    std::array<Byte, Size> bytes{};

    // The entry the engine records for a failed call.
    static ErrorEntry fromException(const ETorvaneEngineError& error);

    std::int32_t nativeError() const { return getI32(bytes.data(), NativeErrorOffset); }
    Status code() const { return getU16(bytes.data(), CodeOffset); }
    std::string driverMessage() const {
        return getText(bytes.data(), DriverMessageOffset, DriverMessageSize);
    }
    std::string codeText() const { return getText(bytes.data(), CodeTextOffset, CodeTextSize); }
    // Context i (0-3): the zero-terminated text starting at its 128-byte slot.
    std::string context(std::size_t i) const {
        return getText(bytes.data(), ContextOffset + i * ContextSize, ContextSize);
    }
};

} // namespace accessdb
