#pragma once

// Jet's LIKE patterns: "*" any run of characters, "?" one character, "#" one digit, and
// "[...]" one character of a list or range ("[a-f]"), or of none of them ("[!a-f]"); a
// bracket also stands for the sign itself ("[*]"). Letters match without regard to case.

#include <string_view>

namespace platform::dao::sql {

bool likeMatches(std::string_view text, std::string_view pattern);

} // namespace platform::dao::sql
