#pragma once

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/engine/StatusCodes.h"

#include <cstdint>
#include <string>

namespace accessdb {

// The engine's own failure: a status code, an optional context text (at most 255
// characters) and the native error of a driver underneath. The engine call interface turns
// it into a status and an error-stack entry; its exception message is always empty.
class ETorvaneEngineError : public EAbort {
public:
    explicit ETorvaneEngineError(Status code);
    ETorvaneEngineError(Status code, const std::string& text);

    Status errorCode() const { return errorCode_; }
    const std::string& errorText() const { return errorText_; }
    std::int32_t nativeError() const { return nativeError_; }

    // A driver's own text for the error; the engine has none.
    virtual std::string driverMessage() const { return {}; }
    // The format for a code the table does not know, filled with the native error.
    virtual std::string unknownCodeFormat() const { return "Torvane (DBE) Error %d."; }

protected:
    void setNativeError(std::int32_t native) { nativeError_ = native; }

private:
    Status errorCode_;
    std::string errorText_;
    std::int32_t nativeError_ = 0;
};

// Either end of a walk; loops that read a table to its end stop on this.
class ETorvaneBoundryError : public ETorvaneEngineError {
public:
    using ETorvaneEngineError::ETorvaneEngineError;
};

class ETorvaneEOFError : public ETorvaneBoundryError {
public:
    ETorvaneEOFError() : ETorvaneBoundryError(dbierr::EOF_) {}
};

class ETorvaneBOFError : public ETorvaneBoundryError {
public:
    ETorvaneBOFError() : ETorvaneBoundryError(dbierr::BOF) {}
};

[[noreturn]] void raiseEngineError(Status code);
[[noreturn]] void raiseEngineErrorText(Status code, const std::string& text);
[[noreturn]] void raiseEOF();
[[noreturn]] void raiseBOF();
// An operation a driver must supply. The message ids name the operation for the reader;
// they carry no text, so the error's text stays empty.
[[noreturn]] void raiseNotSupported(int messageId = 0);

inline void checkOrRaise(bool condition, Status code) {
    if (!condition)
        raiseEngineError(code);
}

template <typename P>
P checkAssigned(P pointer, Status code) {
    if (!pointer)
        raiseEngineError(code);
    return pointer;
}

template <typename P>
P checkParam(P pointer) {
    return checkAssigned(pointer, dbierr::INVALIDPARAM);
}

template <typename P>
P checkHandle(P pointer) {
    return checkAssigned(pointer, dbierr::INVALIDHNDL);
}

// A 16-bit count or size: beyond 65,535 is a range error.
std::uint16_t checked16(std::size_t value);

} // namespace accessdb
