#include "xls/XlsUtils.h"

#include "platform/text/AnsiCodePage.h"
#include "xls/XlsError.h"

#include <algorithm>
#include <array>

namespace xls {

namespace {

struct ErrorValue {
    uint8_t code;
    const char* text;
};

// By ordinal; the ordinal 0 is "no error" and has no code of its own.
constexpr std::array<ErrorValue, 8> ErrorValues = {{{0x2A, "[int] No error value"},
                                                    {0x00, "#NULL!"},
                                                    {0x07, "#DIV/0!"},
                                                    {0x0F, "#VALUE!"},
                                                    {0x17, "#REF!"},
                                                    {0x1D, "#NAME?"},
                                                    {0x24, "#NUM!"},
                                                    {0x2A, "#N/A"}}};

bool fitsLatin1(std::string_view text) {
    for (char c : text)
        if (!platform::AnsiCodePage::sameAsLatin1(static_cast<uint8_t>(c)))
            return false;
    return true;
}

std::string utf16Flagged(std::u16string_view text) {
    std::string flagged(1 + 2 * text.size(), '\0');
    flagged[0] = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        flagged[1 + 2 * i] = static_cast<char>(text[i] & 0xFF);
        flagged[2 + 2 * i] = static_cast<char>(text[i] >> 8);
    }
    return flagged;
}

std::u16string utf16FromBytes(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    throw RangeError();
}

} // namespace

std::string toXlsString(std::string_view text, bool unicode) {
    if (unicode || !fitsLatin1(text))
        return utf16Flagged(platform::AnsiCodePage::toUtf16(text));
    std::string flagged(1, '\0');
    flagged.append(text);
    return flagged;
}

std::string flaggedAsRead(std::string_view asRead, std::string_view text, bool unicode) {
    if (!asRead.empty() && fromXlsString(asRead) == text && (!unicode || isWideXlsString(asRead)))
        return std::string(asRead);
    return toXlsString(text, unicode);
}

std::string flaggedFromBody(std::string_view body, size_t count) {
    if (body.empty())
        return std::string(1, '\0');
    bool wide = (body[0] & 0x01) != 0;
    size_t bytes = std::min(wide ? 2 * count : count, body.size() - 1);
    if (wide)
        bytes -= bytes % 2;
    std::string flagged(1, wide ? '\x01' : '\0');
    flagged.append(body.substr(1, bytes));
    return flagged;
}

size_t xlsStringSize(std::string_view text, bool unicode) {
    if (unicode || !fitsLatin1(text))
        return 2 * text.size() + 1;
    return text.size() + 1;
}

bool isWideXlsString(std::string_view flagged) {
    return !flagged.empty() && flagged[0] == 1;
}

size_t xlsStringCount(std::string_view flagged) {
    if (flagged.empty())
        return 0;
    return isWideXlsString(flagged) ? (flagged.size() - 1) / 2 : flagged.size() - 1;
}

std::string fromXlsString(std::string_view flagged) {
    if (flagged.empty())
        return {};
    if (isWideXlsString(flagged))
        return platform::AnsiCodePage::fromUtf16(utf16FromBytes(flagged.substr(1)));
    return std::string(flagged.substr(1));
}

std::u16string wideFromXlsString(std::string_view flagged) {
    if (isWideXlsString(flagged))
        return utf16FromBytes(flagged.substr(1));
    return platform::AnsiCodePage::toUtf16(flagged.empty() ? flagged : flagged.substr(1));
}

std::string wideXlsString(std::u16string_view text) {
    return utf16Flagged(text);
}

std::string readXlsString(ExcelVersion version, std::string_view body, size_t count) {
    if (count == 0)
        return {};
    if (version < ExcelVersion::Excel97) {
        if (body.size() < count)
            throw XlsError("record too short");
        return std::string(body.substr(0, count));
    }
    if (body.empty())
        throw XlsError("record too short");
    bool wide = body[0] != 0;
    size_t bytes = wide ? 2 * count : count;
    if (body.size() - 1 < bytes)
        throw XlsError("record too short");
    if (!wide)
        return std::string(body.substr(1, count));
    return platform::AnsiCodePage::fromUtf16(utf16FromBytes(body.substr(1, bytes)));
}

uint16_t hashXlsString(std::string_view bytes) {
    uint16_t hash = 0;
    for (char c : bytes) {
        hash = static_cast<uint16_t>((hash << 5) | (hash >> 11));
        hash ^= static_cast<uint8_t>(c);
    }
    return hash;
}

int charPosXls(char ch, std::string_view s) {
    size_t at = s.find(ch);
    return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

std::string errorCodeToText(uint8_t code) {
    int ordinal = errorCodeToIndex(code);
    return ordinal == 0 ? "#???" : ErrorValues[static_cast<size_t>(ordinal)].text;
}

int errorCodeToIndex(uint8_t code) {
    for (size_t i = 1; i < ErrorValues.size(); ++i)
        if (ErrorValues[i].code == code)
            return static_cast<int>(i);
    return 0;
}

uint8_t errorIndexToCode(int ordinal) {
    if (ordinal < 0 || ordinal >= static_cast<int>(ErrorValues.size()))
        return 0x2A;
    return ErrorValues[static_cast<size_t>(ordinal)].code;
}

std::string errorIndexToText(int ordinal) {
    if (ordinal < 0 || ordinal >= static_cast<int>(ErrorValues.size()))
        throw RangeError();
    return ErrorValues[static_cast<size_t>(ordinal)].text;
}

std::string colRowToRefText(int col, int row, bool absCol, bool absRow) {
    std::string text;
    if (absCol)
        text += '$';
    if (col >= 26)
        text += static_cast<char>(col / 26 + 64);
    text += static_cast<char>(col % 26 + 65);
    if (absRow)
        text += '$';
    text += std::to_string(row + 1);
    return text;
}

std::string hexToBytes(std::string_view text) {
    if (text.size() % 2 != 0)
        throw RangeError();
    std::string bytes(text.size() / 2, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(hexDigit(text[2 * i]) * 16 + hexDigit(text[2 * i + 1]));
    return bytes;
}

} // namespace xls
