#pragma once

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/engine/StatusCodes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace accessdb {

class TVirtEng;

// One entry of a component error: a status, the driver's native code and a text.
struct TttError {
    Status errorCode = 0;
    std::int32_t nativeError = 0;
    std::string message;
};

// A failed engine call as the components report it: the entries of the engine's error
// stack, and a message of their texts, each line once.
class ETDBEngineError : public EDatabaseError {
public:
    ETDBEngineError(TVirtEng* engine, Status status);

    int errorCount() const { return static_cast<int>(errors_.size()); }
    const TttError& errors(int index) const { return errors_.at(static_cast<std::size_t>(index)); }
    Status errorCode() const { return errors_.empty() ? 0 : errors_.front().errorCode; }

private:
    struct Report {
        std::vector<TttError> errors;
        std::string message;
    };
    static Report report(TVirtEng* engine, Status status);
    explicit ETDBEngineError(Report report);

    std::vector<TttError> errors_;
};

// Raises the status as an ETDBEngineError.
[[noreturn]] void dbiError(TVirtEng* engine, Status status);
// Raises unless the status is 0.
inline void check(TVirtEng* engine, Status status) {
    if (status != 0)
        dbiError(engine, status);
}

} // namespace accessdb
