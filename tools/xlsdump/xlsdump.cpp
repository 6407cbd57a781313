// Prints what the spreadsheet library reads from a workbook as JSON on standard output:
//   {"sheets": [{"name": "...", "cells": [[row, col, "n", 1.5], [row, col, "d", 37712,
//     "2003-04-01"], ...], "lastRow": 9, "lastCol": 2, "merged": [[firstRow, firstCol,
//     lastRow, lastCol], ...], "notes": [[row, col, "..."]]}], "version": 8}
// Cell kinds: "n" number, "d" a number in a cell formatted as a date or time (the serial
// number, then the ISO text: "2003-04-01", "2003-04-01T13:30:00", or "13:30:00" for a time
// of day alone; null where the number is no date), "s" text, "b" boolean (true/false), "e"
// error (its text); formula cells give their cached result; blank cells are left out.
// Cells come in the order of the file's records (row by row in the files spreadsheet
// programs write); a cell given twice comes twice, and the later one stands. Merged ranges
// are inclusive, in the order the sheet keeps them. Exit status 1, with "xlsdump: FILE: " and
// the library's message on standard error, when the file cannot be read (what was printed
// before is then incomplete).
//
// A workbook of a hundred thousand rows prints in a fraction of a second: the cells are
// printed as the reader reads them and never kept, texts go from the shared string table's
// bytes into the output without copies, and the output is written as it is made.

#include "platform/text/AnsiCodePage.h"
#include "xls/CellSink.h"
#include "xls/ExcelMask.h"
#include "xls/SharedStringTable.h"
#include "xls/Workbook.h"
#include "xls/XlsUtils.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// JSON text for standard output, written out in large pieces as it grows. Every piece is
// put straight into the buffer: a text of the most characters a cell holds fits at once.
class JsonOut {
public:
    JsonOut() : buffer_(new char[Size]) {}
    ~JsonOut() { flush(); }

    void raw(std::string_view text) {
        char* at = room(text.size());
        std::memcpy(at, text.data(), text.size());
        used_ += text.size();
    }
    // Once a write fails (a full disk, a closed pipe) nothing more is written: the failure
    // is told when the dump ends, not taken for success.
    void flush() {
        if (!failed_ && std::fwrite(buffer_.get(), 1, used_, stdout) != used_) {
            failed_ = true;
            error_ = errno;
        }
        used_ = 0;
    }
    // Everything out to the file or pipe; 0 when it all arrived, else the error number.
    int close() {
        flush();
        if (!failed_ && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
            failed_ = true;
            error_ = errno;
        }
        return failed_ ? (error_ ? error_ : EIO) : 0;
    }

    void integer(long long value) {
        char* at = room(24);
        used_ = static_cast<size_t>(std::to_chars(at, at + 24, value).ptr - buffer_.get());
    }
    // The shortest text that reads back as the same double; null for NaN and infinities.
    void number(double value) {
        if (!std::isfinite(value))
            return raw("null");
        char* at = room(32);
        used_ = static_cast<size_t>(std::to_chars(at, at + 32, value).ptr - buffer_.get());
    }

    // Text as UTF-16 code units or as Latin-1 bytes; unpaired surrogates become U+FFFD.
    template <typename Unit>
    void text(const Unit* units, size_t count) {
        char* out = room(6 * count + 2);
        *out++ = '"';
        for (size_t i = 0; i < count; ++i) {
            if constexpr (sizeof(Unit) == 1) {
                // Runs of characters that go out as they are, copied at once.
                size_t plain = i;
                while (plain < count && isPlain(static_cast<uint8_t>(units[plain])))
                    ++plain;
                std::memcpy(out, units + i, plain - i);
                out += plain - i;
                if ((i = plain) == count)
                    break;
            }
            char32_t c = static_cast<std::make_unsigned_t<Unit>>(units[i]);
            if (c < 0x80 && isPlain(static_cast<uint8_t>(c))) {
                *out++ = static_cast<char>(c);
                continue;
            }
            if constexpr (sizeof(Unit) == 2) {
                if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
                    units[i + 1] <= 0xDFFF)
                    c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
                else if (c >= 0xD800 && c <= 0xDFFF)
                    c = 0xFFFD;
            }
            out = character(out, c);
        }
        *out++ = '"';
        used_ = static_cast<size_t>(out - buffer_.get());
    }
    void text(std::u16string_view units) { text(units.data(), units.size()); }
    // The start of a cell's entry: "[row, col, "kind", ", after a comma unless it is the
    // first.
    void cellHead(bool first, int row, int col, char kind) {
        char* out = room(48);
        if (!first)
            *out++ = ',';
        *out++ = '\n';
        *out++ = '[';
        out = std::to_chars(out, out + 8, row).ptr;
        *out++ = ',';
        *out++ = ' ';
        out = std::to_chars(out, out + 8, col).ptr;
        std::memcpy(out, ", \"?\", ", 7);
        out[3] = kind;
        used_ = static_cast<size_t>(out + 7 - buffer_.get());
    }
    // UTF-16LE bytes, two a character.
    void wideBytes(std::string_view bytes) {
        std::u16string units(bytes.size() / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                             (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
        text(units);
    }
    // 8-bit text in the ANSI code page.
    void ansi(std::string_view text8) { text(platform::AnsiCodePage::toUtf16(text8)); }
    void flagged(const std::string& flagged) {
        if (xls::isWideXlsString(flagged))
            wideBytes(std::string_view(flagged).substr(1));
        else
            ansi(xls::fromXlsString(flagged));
    }

private:
    static constexpr size_t Size = 1 << 18; // the longest text a cell holds, six bytes a character

    // Room for n more bytes at the end of the buffer.
    char* room(size_t n) {
        if (used_ + n > Size)
            flush();
        if (n > Size)
            throw std::length_error("a text too long for the output buffer");
        return buffer_.get() + used_;
    }

    // A character that JSON takes as it is: printable ASCII but the quote and backslash.
    static bool isPlain(uint8_t c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; }

    static char* character(char* out, char32_t c) {
        if (c == '"' || c == '\\') {
            *out++ = '\\';
            *out++ = static_cast<char>(c);
        } else if (c < 0x20) {
            static const char Hex[] = "0123456789abcdef";
            std::memcpy(out, "\\u00", 4);
            out[4] = Hex[c >> 4];
            out[5] = Hex[c & 0x0F];
            out += 6;
        } else if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        return out;
    }

    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
    int error_ = 0;
};

// The date and time of a serial number: days counted from the workbook's base date, the
// fraction the time of day rounded to the second. In the 1900 system day 60 is the
// 29 February 1900 the spreadsheet counts; day 0 holds a time of day alone. No text for a
// negative serial or one past the year 9999.
std::optional<std::string> isoDate(double serial, bool date1904) {
    if (!(serial >= 0))
        return std::nullopt;
    long long days = static_cast<long long>(std::floor(serial));
    long long seconds = static_cast<long long>(std::nearbyint((serial - days) * 86400.0));
    if (seconds == 86400) {
        seconds = 0;
        ++days;
    }
    if (days >= (date1904 ? 2957003 : 2958466))
        return std::nullopt;
    char time[32];
    std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    if (days == 0 && !date1904)
        return std::string(time);
    int year, month, day;
    if (!date1904 && days <= 60) {
        year = 1900;
        month = days <= 31 ? 1 : 2;
        day = static_cast<int>(days <= 31 ? days : days - 31);
    } else {
        // Days since 1 March of year 0 of the proleptic Gregorian calendar, then the civil
        // date of that count.
        long long z = days - (date1904 ? 24107 : 25569) + 719468;
        long long era = (z >= 0 ? z : z - 146096) / 146097;
        long long dayOfEra = z - era * 146097;
        long long yearOfEra =
            (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        long long shifted = (5 * dayOfYear + 2) / 153;
        day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
        month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
        year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
    }
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    return seconds == 0 ? std::string(date) : std::string(date) + "T" + time;
}

// Whether the cells of each cell format show dates or times: its number format has date or
// time parts and no digit placeholders.
class DateFormats {
public:
    explicit DateFormats(xls::Workbook& book) : book_(book) {}

    bool isDate(int32_t xf) {
        if (xf < 0 || static_cast<size_t>(xf) >= book_.formats().count())
            return false;
        if (known_.size() <= static_cast<size_t>(xf))
            known_.resize(static_cast<size_t>(xf) + 1, Unknown);
        int8_t& known = known_[static_cast<size_t>(xf)];
        if (known == Unknown)
            known = showsDate(book_.formats().item(static_cast<size_t>(xf)));
        return known == 1;
    }

private:
    static constexpr int8_t Unknown = -1;

    static int8_t showsDate(const xls::CellFormat& cellFormat) {
        const std::string format = cellFormat.numberFormat();
        // The built-in formats 27 to 36 and 50 to 58 are the dates and times of the East
        // Asian versions, which files do not carry.
        const int index = cellFormat.numberFormatIndex;
        if (format.empty())
            return (index >= 27 && index <= 36) || (index >= 50 && index <= 58) ? 1 : 0;
        xls::ExcelMask mask;
        try {
            mask.analyse(format);
        } catch (const std::exception&) {
            return 0;
        }
        const auto& first = mask.section(0);
        return first && (first->flags & xls::ExcelMask::DateTime) ? 1 : 0;
    }

    xls::Workbook& book_;
    std::vector<int8_t> known_;
};

// Prints the workbook as the reader goes through it: each cell as it is read, a sheet's
// used range, merged ranges and notes when its records end. No cell is kept.
class Dump : public xls::CellSink {
public:
    explicit Dump(xls::Workbook& book)
        : book_(book), strings_(book.sheets().strings()), dates_(book) {}

    void sheetBegins(xls::Sheet& sheet) override {
        out_.raw(sheets_++ ? "},\n" : "{\"sheets\": [\n");
        out_.raw("{\"name\": ");
        out_.text(sheet.wideName());
        out_.raw(", \"cells\": [");
        first_ = true;
    }

    void sheetEnds(xls::Sheet& sheet) override {
        out_.raw("], \"lastRow\": ");
        out_.integer(sheet.lastRow);
        out_.raw(", \"lastCol\": ");
        out_.integer(sheet.lastCol);
        out_.raw(", \"merged\": [");
        for (size_t m = 0; m < sheet.mergedCells().count(); ++m) {
            const xls::MergedCell& range = sheet.mergedCells().item(m);
            out_.raw(m ? ",\n[" : "\n[");
            out_.integer(range.row1);
            out_.raw(", ");
            out_.integer(range.col1);
            out_.raw(", ");
            out_.integer(range.row2);
            out_.raw(", ");
            out_.integer(range.col2);
            out_.raw("]");
        }
        out_.raw("], \"notes\": [");
        notes(sheet);
        out_.raw("]");
    }

    void finish() {
        out_.raw(sheets_ ? "}], \"version\": " : "{\"sheets\": [], \"version\": ");
        out_.integer(static_cast<int>(book_.version()));
        out_.raw("}\n");
    }
    int close() { return out_.close(); }

    // A text's entry is asked for as the cell is printed: cells come in the file's order,
    // which keeps a sheet's texts mostly in the order of the shared strings.
    void cell(const xls::Cell& cell) override {
        using xls::CellType;
        switch (cell.type()) {
        case CellType::Integer:
            return number(cell, cell.integer());
        case CellType::Float:
        case CellType::NumberFormula:
            return number(cell, cell.number());
        case CellType::ArrayFormula:
            return arrayResult(cell);
        case CellType::String:
            return sharedString(cell);
        case CellType::StringFormula:
            head(cell, 's');
            out_.flagged(cell.flaggedResult());
            return out_.raw("]");
        case CellType::Boolean:
        case CellType::BooleanFormula:
            return boolean(cell, cell.boolean());
        case CellType::Error:
        case CellType::ErrorFormula:
            return error(cell, cell.errorOrdinal() <= 7 ? xls::errorIndexToText(cell.errorOrdinal())
                                                        : std::string("#???"));
        default:
            return;
        }
    }

private:
    void notes(xls::Sheet& sheet) {
        bool first = true;
        for (size_t n = 0; n < sheet.notes().count(); ++n) {
            const xls::Note& note = sheet.notes().item(n);
            if (!note.noteRecord)
                continue;
            out_.raw(first ? "\n[" : ",\n[");
            first = false;
            out_.integer(note.cellRow());
            out_.raw(", ");
            out_.integer(note.cellCol());
            out_.raw(", ");
            out_.flagged(note.flaggedText.empty() ? xls::toXlsString(note.text())
                                                  : note.flaggedText);
            out_.raw("]");
        }
    }

    // "[row, col, kind, " for a cell that has a value to print.
    void head(const xls::Cell& cell, char kind) {
        out_.cellHead(first_, cell.row(), cell.column(), kind);
        first_ = false;
    }

    void number(const xls::Cell& cell, double value) {
        if (!dates_.isDate(cell.xf())) {
            head(cell, 'n');
            out_.number(value);
            return out_.raw("]");
        }
        head(cell, 'd');
        out_.number(value);
        out_.raw(", ");
        std::optional<std::string> iso = isoDate(value, book_.date1904);
        if (iso) {
            out_.raw("\"");
            out_.raw(*iso);
            out_.raw("\"]");
        } else {
            out_.raw("null]");
        }
    }

    void sharedString(const xls::Cell& cell) {
        head(cell, 's');
        const int32_t index = cell.sstIndex();
        if (index < 0 || static_cast<size_t>(index) >= strings_.count()) {
            out_.raw("\"\"");
        } else {
            std::string_view chars = strings_.chars(static_cast<size_t>(index));
            if (strings_.entry(static_cast<size_t>(index)).options & xls::SharedStringTable::Wide)
                out_.wideBytes(chars);
            else // compressed text: each byte the character of that code
                out_.text(chars.data(), chars.size());
        }
        out_.raw("]");
    }

    void boolean(const xls::Cell& cell, bool value) {
        head(cell, 'b');
        out_.raw(value ? "true]" : "false]");
    }

    void error(const xls::Cell& cell, const std::string& text) {
        head(cell, 'e');
        out_.ansi(text);
        out_.raw("]");
    }

    void arrayResult(const xls::Cell& cell) {
        switch (cell.arrayResultKind()) {
        case xls::Cell::ResultKind::Text:
            head(cell, 's');
            out_.flagged(cell.flaggedResult());
            return out_.raw("]");
        case xls::Cell::ResultKind::Boolean:
            return boolean(cell, cell.arrayResultValue() != 0);
        case xls::Cell::ResultKind::Error:
            return error(cell, xls::errorCodeToText(cell.arrayResultValue()));
        case xls::Cell::ResultKind::Empty:
            head(cell, 's');
            return out_.raw("\"\"]");
        case xls::Cell::ResultKind::Number:
            return number(cell, cell.number());
        }
    }

    xls::Workbook& book_;
    const xls::SharedStringTable& strings_;
    DateFormats dates_;
    JsonOut out_;
    bool first_ = true;
    size_t sheets_ = 0;
};

} // namespace

namespace {

constexpr const char* Usage =
    "usage: xlsdump FILE\n"
    "Prints the sheets and cells of the workbook FILE as JSON on standard output.\n";

// Standard output is the one output: a dump that did not all arrive there is a failure.
int outputStatus(Dump& dump) {
    if (int error = dump.close()) {
        std::fprintf(stderr, "xlsdump: standard output: %s\n", std::strerror(error));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (argc != 2) {
        std::fputs(Usage, stderr);
        return 2;
    }
    xls::Workbook book;
    Dump dump(book);
    book.setCellSink(&dump);
    try {
        book.setFilename(argv[1]);
        book.read();
        dump.finish();
    } catch (const std::exception& e) {
        // The library's words do not name the file; of many files dumped in turn, the
        // message says which one failed.
        std::fprintf(stderr, "xlsdump: %s: %s\n", argv[1], e.what());
        outputStatus(dump);
        return 1;
    }
    return outputStatus(dump);
}
