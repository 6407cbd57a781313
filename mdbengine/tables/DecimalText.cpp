#include "mdbengine/tables/DecimalText.h"

#include "mdbengine/pages/ByteOrder.h"

#include <algorithm>

namespace mdbengine::file {

std::string decimalText(std::span<const std::uint8_t> stored, unsigned scale) {
    unsigned __int128 magnitude = 0;
    for (int word = 0; word < 4; ++word)
        magnitude = (magnitude << 32) | get32(stored.data() + 1 + 4 * word);
    std::string digits;
    do {
        digits += static_cast<char>('0' + static_cast<int>(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    scale = std::min(scale, 38u);
    while (digits.size() <= scale)
        digits += '0';
    std::reverse(digits.begin(), digits.end());
    if (scale > 0)
        digits.insert(digits.size() - scale, ".");
    bool negative = (stored[0] & 0x80) != 0 && digits.find_first_not_of("0.") != std::string::npos;
    return negative ? "-" + digits : digits;
}

} // namespace mdbengine::file
