#pragma once

#include <stdexcept>
#include <string>

namespace xls {

// A failure of the spreadsheet library; the message is the library's fixed text.
class XlsError : public std::runtime_error {
public:
    explicit XlsError(const std::string& message) : std::runtime_error(message) {}
};

// A value that does not fit the field, index or range it is meant for.
class RangeError : public XlsError {
public:
    RangeError() : XlsError("Range check error") {}
    explicit RangeError(const std::string& message) : XlsError(message) {}
};

} // namespace xls
