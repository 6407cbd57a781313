#include "listio/Utf8.h"

namespace quillan {

// Length of the sequence a lead byte starts, 0 for a byte that cannot start one.
static size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

static bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t n = sequenceLength(lead);
        if (n == 0 || i + n > text.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if (!isContinuation(static_cast<unsigned char>(text[i + k])))
                return false;
        if (n >= 3) {
            auto second = static_cast<unsigned char>(text[i + 1]);
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
                (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
                return false;
        }
        i += n;
    }
    return true;
}

std::string cutText(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return std::string(text);
    size_t cut = maxBytes;
    if (isValidUtf8(text))
        while (cut > 0 && isContinuation(static_cast<unsigned char>(text[cut])))
            --cut;
    return std::string(text.substr(0, cut));
}

} // namespace quillan
