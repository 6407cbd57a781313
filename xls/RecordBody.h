#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "xls/XlsError.h"

namespace xls {

// A record body being assembled, little-endian. Every value is checked against the field it
// goes into: one that does not fit raises RangeError.
class RecordBody {
public:
    RecordBody& u8(int64_t value) {
        check(value, 0xFF);
        bytes_ += static_cast<char>(value);
        return *this;
    }
    RecordBody& u16(int64_t value) {
        check(value, 0xFFFF);
        bytes_ += static_cast<char>(value & 0xFF);
        bytes_ += static_cast<char>((value >> 8) & 0xFF);
        return *this;
    }
    RecordBody& u32(int64_t value) {
        check(value, 0xFFFFFFFFLL);
        for (int i = 0; i < 4; ++i)
            bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
        return *this;
    }
    RecordBody& f64(double value) {
        char raw[8];
        std::memcpy(raw, &value, sizeof raw);
        bytes_.append(raw, sizeof raw);
        return *this;
    }
    RecordBody& bytes(std::string_view data) {
        bytes_.append(data);
        return *this;
    }
    RecordBody& zeros(size_t count) {
        bytes_.append(count, '\0');
        return *this;
    }

    const std::string& str() const { return bytes_; }
    size_t size() const { return bytes_.size(); }

private:
    static void check(int64_t value, int64_t highest) {
        if (value < 0 || value > highest)
            throw RangeError();
    }

    std::string bytes_;
};

} // namespace xls
