#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace xls {

// A failure of the spreadsheet library; the message is the library's fixed text.
class XlsError : public std::runtime_error {
public:
    explicit XlsError(const std::string& message) : std::runtime_error(message) {}
};

// A record of a file that cannot be read: its number (the first record after the first BOF
// is 1), the cause, and the file's name where it is known. One line:
//   Error on reading record # 12 of "list.xls": SST index out of range (5:3)
class RecordError : public XlsError {
public:
    RecordError(uint32_t record, const std::string& cause, const std::string& fileName)
        : XlsError("Error on reading record # " + std::to_string(record) +
                   (fileName.empty() ? std::string() : " of \"" + fileName + "\"") + ": " + cause),
          record_(record), cause_(cause) {}
    uint32_t record() const { return record_; }
    const std::string& cause() const { return cause_; }

private:
    uint32_t record_;
    std::string cause_;
};

// A value that does not fit the field, index or range it is meant for.
class RangeError : public XlsError {
public:
    RangeError() : XlsError("Range check error") {}
    explicit RangeError(const std::string& message) : XlsError(message) {}
};

} // namespace xls
