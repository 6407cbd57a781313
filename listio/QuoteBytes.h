#pragma once

namespace quillan {

// The straight double quote and the Macintosh curly quotes 0xD2 and 0xD3.
inline bool isQuoteByte(char c) {
    return c == '"' || c == '\xD2' || c == '\xD3';
}

} // namespace quillan
