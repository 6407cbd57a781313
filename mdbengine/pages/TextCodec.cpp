#include "mdbengine/pages/TextCodec.h"

#include <array>
#include <cstring>
#include <optional>

namespace mdbengine::file {

namespace {

// Windows-1252 0x80 to 0x9F. The five bytes the code page leaves unassigned are stored as
// the C1 controls of the same number, as Windows converts them, but read as unmappable.
constexpr std::array<std::uint16_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool unassigned(std::uint8_t byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

char unitToAnsi(std::uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < highControls.size(); ++i)
        if (highControls[i] == unit && !unassigned(static_cast<std::uint8_t>(0x80 + i)))
            return static_cast<char>(0x80 + i);
    return '?';
}

// Appends characters one UTF-16 unit at a time into a buffer sized for the most there can
// be; a surrogate pair is one character, so one "?".
class AnsiText {
public:
    explicit AnsiText(std::size_t most) : text_(most, '\0') {}
    void add(std::uint16_t unit) {
        bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (!(low && afterHigh_))
            text_[length_++] = unitToAnsi(unit);
        afterHigh_ = unit >= 0xD800 && unit <= 0xDBFF;
    }
    // A character of the one-byte run of compressed text: the first 256 code points, whose
    // C1 controls have no Windows-1252 form while the rest keep their byte.
    void addBytes(std::span<const std::uint8_t> bytes) {
        char* out = text_.data() + length_;
        std::memcpy(out, bytes.data(), bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if ((static_cast<std::uint8_t>(out[i]) & 0xE0) == 0x80)
                out[i] = '?';
        length_ += bytes.size();
        afterHigh_ = false;
    }
    std::string take() {
        text_.resize(length_);
        return std::move(text_);
    }

private:
    std::string text_;
    std::size_t length_ = 0;
    bool afterHigh_ = false;
};

std::string ucs2Text(std::span<const std::uint8_t> bytes) {
    AnsiText text(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.add(static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text.take();
}

// Walks the UTF-16 units of Jet4 text, compressed or not: compressed text keeps the first
// 256 code points in one byte each, handed over in runs up to the 0 byte that switches to
// and from two-byte units.
template <typename Unit, typename Run>
void forEachUnit(std::span<const std::uint8_t> bytes, Unit unit, Run run) {
    if (!(bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            unit(static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8)));
        return;
    }
    bool compressed = true;
    std::size_t i = 2;
    while (i < bytes.size()) {
        if (bytes[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            const auto* end = static_cast<const std::uint8_t*>(
                std::memchr(bytes.data() + i, 0, bytes.size() - i));
            std::size_t stop = end ? static_cast<std::size_t>(end - bytes.data()) : bytes.size();
            run(bytes.subspan(i, stop - i));
            i = stop;
        } else {
            if (i + 1 >= bytes.size())
                break;
            unit(static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8)));
            i += 2;
        }
    }
}

} // namespace

std::string jet3TextToAnsi(std::span<const std::uint8_t> bytes) {
    std::string text(bytes.begin(), bytes.end());
    for (char& c : text)
        if (unassigned(static_cast<std::uint8_t>(c)))
            c = '?';
    return text;
}

std::string ucs2ToAnsi(std::span<const std::uint8_t> bytes) {
    return ucs2Text(bytes);
}

std::vector<std::uint16_t> jet4TextUnits(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint16_t> units;
    units.reserve(bytes.size());
    forEachUnit(
        bytes, [&](std::uint16_t unit) { units.push_back(unit); },
        [&](std::span<const std::uint8_t> run) {
            units.insert(units.end(), run.begin(), run.end());
        });
    return units;
}

std::string jet4TextToAnsi(std::span<const std::uint8_t> bytes) {
    AnsiText text(bytes.size());
    forEachUnit(
        bytes, [&](std::uint16_t unit) { text.add(unit); },
        [&](std::span<const std::uint8_t> run) { text.addBytes(run); });
    return text.take();
}

std::uint16_t ansiToUnit(char c) {
    auto byte = static_cast<std::uint8_t>(c);
    return byte >= 0x80 && byte < 0xA0 ? highControls[byte - 0x80] : byte;
}

std::vector<std::uint16_t> ansiToUtf16(std::string_view text) {
    std::vector<std::uint16_t> units;
    units.reserve(text.size());
    for (char c : text)
        units.push_back(ansiToUnit(c));
    return units;
}

std::vector<std::uint8_t> ansiToJet4Text(std::string_view text, bool allowCompression) {
    std::vector<std::uint16_t> units = ansiToUtf16(text);
    bool compressible = allowCompression && units.size() > 2;
    for (std::uint16_t unit : units)
        if (unit == 0 || unit > 0xFF)
            compressible = false;
    std::vector<std::uint8_t> bytes;
    if (compressible) {
        bytes.reserve(units.size() + 2);
        bytes.push_back(0xFF);
        bytes.push_back(0xFE);
        for (std::uint16_t unit : units)
            bytes.push_back(static_cast<std::uint8_t>(unit));
        return bytes;
    }
    bytes.reserve(units.size() * 2);
    for (std::uint16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

namespace {

// The code point of the UTF-8 sequence at `at`, which moves past it; nothing for bytes that
// are not UTF-8 (a stray continuation, a long form, a surrogate, beyond U+10FFFF).
std::optional<char32_t> nextCodePoint(std::string_view utf8, std::size_t& at) {
    auto byte = static_cast<std::uint8_t>(utf8[at++]);
    if (byte < 0x80)
        return byte;
    std::size_t extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    if (extra == 0 || byte >= 0xF8 || at + extra > utf8.size())
        return std::nullopt;
    char32_t code = byte & (0x3F >> extra);
    for (std::size_t i = 0; i < extra; ++i) {
        auto next = static_cast<std::uint8_t>(utf8[at++]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        code = code << 6 | (next & 0x3F);
    }
    static constexpr char32_t shortest[] = {0, 0x80, 0x800, 0x10000};
    if (code < shortest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return code;
}

} // namespace

std::optional<std::string> utf8ToAnsi(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        std::optional<char32_t> code = nextCodePoint(utf8, at);
        if (!code)
            return std::nullopt;
        text += *code <= 0xFFFF ? unitToAnsi(static_cast<std::uint16_t>(*code)) : '?';
    }
    return text;
}

} // namespace mdbengine::file
