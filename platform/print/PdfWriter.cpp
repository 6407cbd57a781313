#include "platform/print/PdfWriter.h"

#include <charconv>
#include <cstdio>
#include <zlib.h>

namespace platform {

void PdfWriter::start() {
    out_.clear();
    offsets_.assign(1, 0);
    started_ = true;
    // The binary comment tells transfer programs that the file is not text.
    write("%PDF-1.5\n%\xE2\xE3\xCF\xD3\n");
}

int PdfWriter::reserve() {
    offsets_.push_back(-1);
    return static_cast<int>(offsets_.size() - 1);
}

void PdfWriter::object(int number, std::string_view body) {
    offsets_[static_cast<size_t>(number)] = position();
    std::string head;
    appendNumber(head, number);
    head += " 0 obj\n";
    write(head);
    write(body);
    write("\nendobj\n");
}

void PdfWriter::stream(int number, std::string_view entries, std::string_view data,
                       Packing packing) {
    std::string packed =
        deflateBytes(data, packing == Packing::Fast ? Z_BEST_SPEED : Z_DEFAULT_COMPRESSION);
    std::string dictionary = "<<";
    dictionary += entries;
    dictionary += " /Filter /FlateDecode /Length ";
    appendNumber(dictionary, static_cast<long>(packed.size()));
    dictionary += ">>\nstream\n";
    offsets_[static_cast<size_t>(number)] = position();
    std::string head;
    appendNumber(head, number);
    head += " 0 obj\n";
    write(head);
    write(dictionary);
    write(packed);
    write("\nendstream\nendobj\n");
}

void PdfWriter::finish(int catalog, int info) {
    long xref = position();
    std::string table = "xref\n0 ";
    appendNumber(table, static_cast<long>(offsets_.size()));
    table += "\n0000000000 65535 f \n";
    for (size_t i = 1; i < offsets_.size(); ++i) {
        char entry[32];
        long offset = offsets_[i] < 0 ? 0 : offsets_[i];
        std::snprintf(entry, sizeof entry, "%010ld 00000 %c \n", offset,
                      offsets_[i] < 0 ? 'f' : 'n');
        table += entry;
    }
    table += "trailer\n<< /Size ";
    appendNumber(table, static_cast<long>(offsets_.size()));
    table += " /Root ";
    appendNumber(table, catalog);
    table += " 0 R /Info ";
    appendNumber(table, info);
    table += " 0 R >>\nstartxref\n";
    appendNumber(table, xref);
    table += "\n%%EOF\n";
    write(table);
    started_ = false;
}

void PdfWriter::abandon() {
    out_.clear();
    started_ = false;
}

std::string deflateBytes(std::string_view data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  level) != Z_OK)
        return {};
    packed.resize(size);
    return packed;
}

std::string pdfLiteral(std::string_view text) {
    std::string out = "(";
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        if (c == '\r') {
            out += "\\r";
            continue;
        }
        out += c;
    }
    return out + ")";
}

void appendNumber(std::string& out, long value) {
    char digits[24];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

} // namespace platform
