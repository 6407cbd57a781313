#include "platform/text/CodePage.h"

#include <array>
#include <iconv.h>

namespace platform {
namespace {

using Table = std::array<char, 256>;

// Byte-for-byte table from one single-byte set to the other; ASCII maps to itself.
Table makeTable(const char* from, const char* to) {
    Table table{};
    for (int c = 0; c < 256; ++c)
        table[c] = c < 128 ? static_cast<char>(c) : '?';
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return table;
    for (int c = 128; c < 256; ++c) {
        char in = static_cast<char>(c);
        char out[8];
        char* inPtr = &in;
        char* outPtr = out;
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
            outPtr - out == 1)
            table[c] = out[0];
    }
    iconv_close(cd);
    return table;
}

std::string convert(std::string_view text, const Table& table) {
    std::string out(text);
    for (char& c : out)
        c = table[static_cast<unsigned char>(c)];
    return out;
}

} // namespace

std::string ansiToOem(std::string_view text) {
    static const Table table = makeTable("CP1252", "CP437");
    return convert(text, table);
}

std::string oemToAnsi(std::string_view text) {
    static const Table table = makeTable("CP437", "CP1252");
    return convert(text, table);
}

} // namespace platform
