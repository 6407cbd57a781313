#pragma once

#include <string>
#include <string_view>

namespace quillan {

// True when the bytes are well-formed UTF-8 (plain ASCII included).
bool isValidUtf8(std::string_view text);

// The first `maxBytes` bytes of a text. When the text is valid UTF-8 the cut moves back to
// the start of a character rather than split one; other texts are cut as bytes.
std::string cutText(std::string_view text, size_t maxBytes);

} // namespace quillan
