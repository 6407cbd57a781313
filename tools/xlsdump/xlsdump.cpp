// Prints what the spreadsheet library reads from a workbook as JSON on standard output:
//   {"version": 8, "sheets": [{"name": "...", "cells": [[row, col, "n", 1.5], ...]}]}
// Cell kinds: "n" number, "s" text, "b" boolean (true/false), "e" error (its text); formula
// cells give their cached result; blank cells are left out. Exit status 1, with the
// library's message on standard error, when the file cannot be read.

#include "platform/storage/StorageError.h"
#include "platform/text/AnsiCodePage.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <cstdio>
#include <string>

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A JSON string of UTF-16 text; unpaired surrogates become U+FFFD.
std::string jsonText(std::u16string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            appendUtf8(out, c);
        }
    }
    return out + "\"";
}

std::string jsonAnsi(const std::string& text) {
    return jsonText(platform::AnsiCodePage::toUtf16(text));
}

std::string jsonFlagged(const std::string& flagged) {
    if (!xls::isWideXlsString(flagged))
        return jsonAnsi(xls::fromXlsString(flagged));
    std::u16string text((flagged.size() - 1) / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(flagged[1 + 2 * i]) |
                                        (static_cast<uint8_t>(flagged[2 + 2 * i]) << 8));
    return jsonText(text);
}

std::string jsonNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    std::string out = text;
    if (out == "nan" || out == "-nan" || out == "inf" || out == "-inf")
        return "null";
    return out;
}

std::string cellJson(xls::Workbook& book, const xls::Cell& cell) {
    using xls::CellType;
    std::string head =
        "[" + std::to_string(cell.row()) + ", " + std::to_string(cell.column()) + ", ";
    switch (cell.type()) {
    case CellType::Integer:
        return head + "\"n\", " + std::to_string(cell.integer()) + "]";
    case CellType::ArrayFormula:
        switch (cell.arrayResultKind()) {
        case xls::Cell::ResultKind::Text:
            return head + "\"s\", " + jsonFlagged(cell.flaggedResult()) + "]";
        case xls::Cell::ResultKind::Boolean:
            return head + "\"b\", " + (cell.arrayResultValue() ? "true" : "false") + "]";
        case xls::Cell::ResultKind::Error:
            return head + "\"e\", " + jsonAnsi(xls::errorCodeToText(cell.arrayResultValue())) + "]";
        case xls::Cell::ResultKind::Empty:
            return head + "\"s\", \"\"]";
        case xls::Cell::ResultKind::Number:
            break;
        }
        return head + "\"n\", " + jsonNumber(cell.number()) + "]";
    case CellType::Float:
    case CellType::NumberFormula:
        return head + "\"n\", " + jsonNumber(cell.number()) + "]";
    case CellType::String:
        return head + "\"s\", " + jsonText(book.sheets().strings().getWideString(cell.sstIndex())) +
               "]";
    case CellType::StringFormula:
        return head + "\"s\", " + jsonFlagged(cell.flaggedResult()) + "]";
    case CellType::Boolean:
    case CellType::BooleanFormula:
        return head + "\"b\", " + (cell.boolean() ? "true" : "false") + "]";
    case CellType::Error:
    case CellType::ErrorFormula:
        return head + "\"e\", " +
               jsonAnsi(cell.errorOrdinal() <= 7 ? xls::errorIndexToText(cell.errorOrdinal())
                                                 : std::string("#???")) +
               "]";
    default:
        return {};
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: xlsdump FILE\n");
        return 2;
    }
    xls::Workbook book;
    try {
        book.setFilename(argv[1]);
        book.read();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::string out =
        "{\"version\": " + std::to_string(static_cast<int>(book.version())) + ", \"sheets\": [";
    for (size_t i = 0; i < book.sheets().count(); ++i) {
        xls::Sheet& sheet = book.sheets().item(i);
        out += i ? ",\n" : "\n";
        out += "{\"name\": " + jsonText(sheet.wideName()) +
               ", \"lastRow\": " + std::to_string(sheet.lastRow) +
               ", \"lastCol\": " + std::to_string(sheet.lastCol) + ", \"cells\": [";
        sheet.cells().beginIterate();
        bool first = true;
        while (const xls::Cell* cell = sheet.cells().nextCell()) {
            std::string json = cellJson(book, *cell);
            if (json.empty())
                continue;
            out += first ? "\n" : ",\n";
            out += json;
            first = false;
        }
        out += "], \"notes\": [";
        first = true;
        for (size_t n = 0; n < sheet.notes().count(); ++n) {
            const xls::Note& note = sheet.notes().item(n);
            if (!note.noteRecord)
                continue;
            out += first ? "\n" : ",\n";
            first = false;
            std::string text =
                note.flaggedText.empty() ? xls::toXlsString(note.text()) : note.flaggedText;
            out += "[" + std::to_string(note.cellRow()) + ", " + std::to_string(note.cellCol()) +
                   ", " + jsonFlagged(text) + "]";
        }
        out += "]}";
    }
    out += "]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
