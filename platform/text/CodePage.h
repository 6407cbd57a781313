#pragma once

#include <string>
#include <string_view>

namespace platform {

// The desktop platform's two 8-bit character sets: ANSI (Windows-1252) for windows and
// files, OEM (code page 437) for the console and the database engine. Conversions keep the
// length; a character the other set lacks becomes "?".
std::string ansiToOem(std::string_view text);
std::string oemToAnsi(std::string_view text);

} // namespace platform
