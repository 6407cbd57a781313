#include "platform/text/WindowsCodePage.h"

#include "platform/text/AnsiCodePage.h"

#include <cerrno>
#include <iconv.h>
#include <string>

namespace platform {

namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

// The converter name of a Windows code page, or none for the ANSI code page and numbers
// without a set here.
std::string converterName(int codePage) {
    switch (codePage) {
    case 367:
        return "ASCII";
    case 10000:
    case 32768:
        return "MACINTOSH";
    case 32769:
    case 1200:
        return {};
    default:
        break;
    }
    if (codePage == AnsiCodePage::current() || codePage <= 0)
        return {};
    return "CP" + std::to_string(codePage);
}

// Runs a converter over the whole input; false at the first sequence it cannot convert.
bool convert(iconv_t converter, std::string_view in, std::string& out) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    out.assign(in.size() * 4 + 8, '\0');
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            if (errno != E2BIG)
                return false;
            size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        }
    }
    if (iconv(converter, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    out.resize(out.size() - outLeft);
    return true;
}

} // namespace

struct WindowsCodePage::Converters {
    iconv_t toUtf16 = NoConverter;
    iconv_t fromUtf16 = NoConverter;
    ~Converters() {
        if (toUtf16 != NoConverter)
            iconv_close(toUtf16);
        if (fromUtf16 != NoConverter)
            iconv_close(fromUtf16);
    }
};

WindowsCodePage::WindowsCodePage(int codePage) : number_(AnsiCodePage::current()) {
    std::string name = converterName(codePage);
    if (name.empty())
        return;
    auto converters = std::make_unique<Converters>();
    converters->toUtf16 = iconv_open("UTF-16LE", name.c_str());
    converters->fromUtf16 = iconv_open(name.c_str(), "UTF-16LE");
    if (converters->toUtf16 == NoConverter || converters->fromUtf16 == NoConverter)
        return;
    converters_ = std::move(converters);
    number_ = codePage;
}

WindowsCodePage::~WindowsCodePage() = default;

std::optional<std::u16string> WindowsCodePage::toUtf16(std::string_view bytes) const {
    if (!converters_)
        return AnsiCodePage::toUtf16(bytes);
    std::string out;
    if (!convert(converters_->toUtf16, bytes, out))
        return std::nullopt;
    std::u16string text(out.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(out[2 * i]) |
                                        (static_cast<uint8_t>(out[2 * i + 1]) << 8));
    return text;
}

std::optional<std::string> WindowsCodePage::fromUtf16(std::u16string_view text) const {
    std::string in;
    in.reserve(text.size() * 2);
    for (char16_t c : text) {
        in += static_cast<char>(c & 0xFF);
        in += static_cast<char>(c >> 8);
    }
    if (!converters_) {
        std::string ansi = AnsiCodePage::fromUtf16(text);
        // The ANSI table marks what it lacks with "?": a "?" of the text itself stays.
        if (AnsiCodePage::toUtf16(ansi) != text)
            return std::nullopt;
        return ansi;
    }
    std::string out;
    if (!convert(converters_->fromUtf16, in, out))
        return std::nullopt;
    return out;
}

} // namespace platform
