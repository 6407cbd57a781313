#include "mdbengine/pages/TextCodec.h"

#include "mdbengine/values/Utf8.h"
#include "mdbengine/values/Windows1252.h"

#include <cstring>

namespace mdbengine::file {

namespace {

constexpr char32_t replacement = 0xFFFD;
constexpr std::uint8_t switchRuns = 0x00;

bool isHighSurrogate(std::uint16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-8 built from UTF-16 units and from runs of one-byte characters, sized once for the
// most there can be.
class Utf8Text {
public:
    explicit Utf8Text(std::size_t bytes) { text_.reserve(bytes); }

    void add(std::uint16_t unit) {
        if (high_) {
            std::uint16_t high = *high_;
            high_.reset();
            if (isLowSurrogate(unit)) {
                appendUtf8(0x10000 + ((high - 0xD800u) << 10) + (unit - 0xDC00u), text_);
                return;
            }
            appendUtf8(replacement, text_);
        }
        if (isHighSurrogate(unit))
            high_ = unit;
        else
            appendUtf8(isLowSurrogate(unit) ? replacement : unit, text_);
    }

    // ASCII goes over in stretches; the rest of the first 256 code points takes two bytes.
    void addRun(std::span<const std::uint8_t> run) {
        endPair();
        for (std::size_t i = 0; i < run.size();) {
            std::size_t start = i;
            while (i < run.size() && run[i] < 0x80)
                ++i;
            text_.append(reinterpret_cast<const char*>(run.data() + start), i - start);
            if (i < run.size())
                appendUtf8(run[i++], text_);
        }
    }

    std::string take() {
        endPair();
        return std::move(text_);
    }

private:
    void endPair() {
        if (high_)
            appendUtf8(replacement, text_);
        high_.reset();
    }

    std::string text_;
    std::optional<std::uint16_t> high_;
};

// Walks the UTF-16 units of Jet4 text, compressed or not: compressed text keeps the first
// 256 code points in one byte each, handed over in runs up to the byte that switches to and
// from two-byte units.
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
        if (bytes[i] == switchRuns) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            const auto* end = static_cast<const std::uint8_t*>(
                std::memchr(bytes.data() + i, switchRuns, bytes.size() - i));
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

bool oneByte(std::uint16_t unit) {
    return unit <= 0xFF;
}

// The compressed form's length, when the units have one: a run of each kind in turn,
// starting with one-byte characters, one byte for each switch.
std::optional<std::size_t> compressedLength(const std::vector<std::uint16_t>& units) {
    std::size_t length = 2;
    bool compressed = true;
    for (std::uint16_t unit : units) {
        if ((unit & 0xFF) == 0)
            return std::nullopt;
        if (oneByte(unit) != compressed) {
            compressed = !compressed;
            ++length;
        }
        length += compressed ? 1 : 2;
    }
    return length;
}

void appendUnit(std::uint16_t unit, std::vector<std::uint8_t>& bytes) {
    bytes.push_back(static_cast<std::uint8_t>(unit));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
}

} // namespace

std::string jet3TextToUtf8(std::span<const std::uint8_t> bytes) {
    return windows1252ToUtf8(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string ucs2ToUtf8(std::span<const std::uint8_t> bytes) {
    Utf8Text text(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.add(static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text.take();
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

std::string jet4TextToUtf8(std::span<const std::uint8_t> bytes) {
    Utf8Text text(bytes.size() * 2);
    forEachUnit(
        bytes, [&](std::uint16_t unit) { text.add(unit); },
        [&](std::span<const std::uint8_t> run) { text.addRun(run); });
    return text.take();
}

std::vector<std::uint8_t> utf8ToJet4Text(std::string_view utf8, bool allowCompression) {
    std::vector<std::uint16_t> units = utf16Units(utf8);
    std::optional<std::size_t> compressed =
        allowCompression ? compressedLength(units) : std::nullopt;
    std::vector<std::uint8_t> bytes;
    if (!compressed || *compressed >= 2 * units.size()) {
        bytes.reserve(2 * units.size());
        for (std::uint16_t unit : units)
            appendUnit(unit, bytes);
        return bytes;
    }
    bytes.reserve(*compressed);
    bytes.push_back(0xFF);
    bytes.push_back(0xFE);
    bool oneByteRun = true;
    for (std::uint16_t unit : units) {
        if (oneByte(unit) != oneByteRun) {
            oneByteRun = !oneByteRun;
            bytes.push_back(switchRuns);
        }
        if (oneByteRun)
            bytes.push_back(static_cast<std::uint8_t>(unit));
        else
            appendUnit(unit, bytes);
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> utf8ToJet3Text(std::string_view utf8) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        if (static_cast<std::uint8_t>(utf8[at]) < 0x80) {
            bytes.push_back(static_cast<std::uint8_t>(utf8[at++]));
            continue;
        }
        std::optional<char32_t> code = nextCodePoint(utf8, at);
        std::optional<std::uint8_t> byte = code ? windows1252Byte(*code) : std::nullopt;
        if (!byte)
            return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

} // namespace mdbengine::file
