#pragma once

#include "xls/ExcelVersion.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xls {

// Flagged strings carry BIFF8 text: a first byte 0 says 8-bit characters follow, 1 that
// UTF-16LE characters do. An empty byte string has no flag.
//
// With `unicode` (the workbook's choice for one write) every flagged string is UTF-16.
// Without it a text stays 8-bit only where its bytes mean the same characters in Latin-1 as
// in the ANSI code page, since other readers take compressed text as Latin-1: "€" and the
// curly quotes of code page 1252 are written as UTF-16.
std::string toXlsString(std::string_view text, bool unicode = false);
// The flagged string a text was read as, while the text is still what it says; else the
// text made a flagged string. Keeps characters the ANSI code page lacks.
std::string flaggedAsRead(std::string_view asRead, std::string_view text, bool unicode = false);
// The flagged string of count characters at the start of a BIFF8 string body (its option
// byte, then the characters); bounded by the body.
std::string flaggedFromBody(std::string_view body, size_t count);
// The byte size of the flagged form of the text.
size_t xlsStringSize(std::string_view text, bool unicode = false);
bool isWideXlsString(std::string_view flagged);
// The number of characters of a flagged string.
size_t xlsStringCount(std::string_view flagged);
// The characters of a flagged string as 8-bit text in the ANSI code page.
std::string fromXlsString(std::string_view flagged);
// The characters of a flagged string (8-bit ones in the ANSI code page), and the flagged
// UTF-16 string of characters.
std::u16string wideFromXlsString(std::string_view flagged);
std::string wideXlsString(std::u16string_view text);

// The text of a BIFF string body of count characters: before BIFF8 count 8-bit characters;
// from BIFF8 an option byte (0: 8-bit, else UTF-16LE) and the characters. A body too short
// for them raises "record too short"; no characters need no option byte.
std::string readXlsString(ExcelVersion version, std::string_view body, size_t count);

// The shared string table's hash: from 0, each byte rotates the value left by 5 bits within
// 16 bits and is XORed into its low byte.
uint16_t hashXlsString(std::string_view bytes);

// The 1-based position of the first ch in s, or -1.
int charPosXls(char ch, std::string_view s);

// Error values: ordinals 1 to 7 in cells, BIFF codes in files.
std::string errorCodeToText(uint8_t code); // "#???" for an unknown code
int errorCodeToIndex(uint8_t code);        // 0 for an unknown code
uint8_t errorIndexToCode(int ordinal);     // 0x2A for the ordinal 0 and unknown ordinals
std::string errorIndexToText(int ordinal); // an ordinal outside 0 to 7 raises RangeError

// The A1 text of a cell, "$" before an absolute column or row.
std::string colRowToRefText(int col, int row, bool absCol, bool absRow);

// Pairs of hex digits ("0" to "9", "A" to "F") to bytes; any other character, or a
// dangling half byte, raises RangeError.
std::string hexToBytes(std::string_view text);

} // namespace xls
