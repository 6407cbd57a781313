#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Every failure of the structured-storage layer: a damaged or truncated compound file, a
// stream that cannot be read whole, an output that cannot be built. The message is the
// storage library's own text where it gives one.
class StorageError : public std::runtime_error {
public:
    explicit StorageError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace platform
