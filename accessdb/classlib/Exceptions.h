#pragma once

// The class library's exception family. Each class only names a kind of failure, so they
// share one header.

#include <stdexcept>
#include <string>

namespace accessdb {

// Every class-library exception carries a message (which may be empty).
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

// The silent exception: it ends an operation without telling the user.
class EAbort : public Exception {
public:
    explicit EAbort(const std::string& message = {}) : Exception(message) {}
};

// A 16-bit count or offset ran past its limit, or a fixed buffer is too small.
class ERangeError : public Exception {
public:
    explicit ERangeError(const std::string& message = "Range check error") : Exception(message) {}
};

// A list index out of range.
class EListError : public Exception {
public:
    explicit EListError(const std::string& message) : Exception(message) {}
};

// A text that is not a value of the type asked for.
class EConvertError : public Exception {
public:
    explicit EConvertError(const std::string& message) : Exception(message) {}
};

// Misuse of a dataset, session or database component.
class EDatabaseError : public Exception {
public:
    explicit EDatabaseError(const std::string& message) : Exception(message) {}
};

// A cast to a class the object is not of.
class EInvalidCast : public Exception {
public:
    explicit EInvalidCast(const std::string& message = "Invalid class typecast")
        : Exception(message) {}
};

} // namespace accessdb
