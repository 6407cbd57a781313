// Prints the first sheet of a workbook as the program reads it as a mailing list: the
// version on the first line, then every record (row 0 is record 1) with its fields joined
// by tabs, each field as the list input has it (its bytes in the ANSI code page; tab, CR,
// LF and backslash written as \t, \r, \n and \\). Exit status 1, with the library's
// message, when the file cannot be read.

#include "listio/ExcelListSource.h"
#include "xls/Workbook.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

std::string escaped(const std::string& field) {
    std::string out;
    for (char c : field) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: xlslist WORKBOOK\n");
        return 2;
    }
    try {
        xls::Workbook book;
        book.setFilename(argv[1]);
        book.read();
        xls::Sheet& sheet = book.sheets().item(0);
        const int fields = sheet.lastCol + 1;
        quillan::ExcelListSource source(sheet, fields);
        std::printf("%d\n", static_cast<int>(book.version()));
        quillan::ListRecord record;
        for (long k = 1; source.read(k, fields, record); ++k) {
            std::string line;
            for (size_t c = 0; c < record.fields.size(); ++c)
                line += (c ? "\t" : "") + escaped(record.fields[c]);
            std::printf("%s\n", line.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
