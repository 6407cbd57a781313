#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The 8-bit (or double-byte) character set a file names by its Windows code page number,
// as the CODEPAGE record of a spreadsheet does: 1250 to 1258, the DOS and Macintosh sets,
// and the East Asian double-byte sets. The desktop platform converts these itself; here the
// C library's converters stand in for it.
class WindowsCodePage {
public:
    // A number without a character set here (1200, which is UTF-16, among them) gives the
    // ANSI code page.
    explicit WindowsCodePage(int codePage);
    WindowsCodePage(const WindowsCodePage&) = delete;
    WindowsCodePage& operator=(const WindowsCodePage&) = delete;
    ~WindowsCodePage();

    int number() const { return number_; }
    // True for the ANSI code page itself, whose text needs no conversion.
    bool isAnsi() const { return !converters_; }

    // The characters of the bytes; nothing when a byte sequence means no character, so that
    // such text can be kept as the bytes it is.
    std::optional<std::u16string> toUtf16(std::string_view bytes) const;
    // The bytes of the text; nothing when a character has no place in the set.
    std::optional<std::string> fromUtf16(std::u16string_view text) const;

private:
    struct Converters;
    int number_;
    std::unique_ptr<Converters> converters_;
};

} // namespace platform
