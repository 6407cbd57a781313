#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillan {

// A text that should hold a number but does not; the message is the one the user sees.
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal text to a 32-bit integer: optional leading blanks, an optional sign, digits.
// Anything else throws ConvertError("'<text>' is not a valid integer value").
int32_t strToInt(std::string_view text);

// Like strToInt, without throwing.
bool tryStrToInt(std::string_view text, int32_t& value);

// Decimal text with an optional fraction ("2.5", "-.5", "3") to a double; throws
// ConvertError("'<text>' is not a valid floating point value").
double strToFloat(std::string_view text);
bool tryStrToFloat(std::string_view text, double& value);

std::string intToStr(int64_t value);

// Decimal text left-padded with "0" to at least `width` digits.
std::string zeroPad(int64_t value, int width);

// ASCII-only upper-casing: the lists are bytes, not characters.
std::string upperAscii(std::string_view text);

} // namespace quillan
