#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Writes a PDF file one numbered object at a time, straight to disk, and ends it with the
// cross-reference table and the trailer. Objects may be written in any order once their
// numbers are reserved, so that a page can name resources written after it.
class PdfWriter {
public:
    PdfWriter() = default;
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;
    ~PdfWriter();

    // False when the file cannot be created.
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }

    // A new object number, to be written later.
    int reserve();
    // "n 0 obj" body "endobj".
    void object(int number, std::string_view body);
    // How a stream is compressed: fast for the bulk of a document (its pages and pictures),
    // small for what is written once (its fonts).
    enum class Packing { Fast, Small };
    // A stream object: its dictionary entries (without the brackets, without /Length) and its
    // data, compressed with deflate.
    void stream(int number, std::string_view entries, std::string_view data,
                Packing packing = Packing::Small);

    // Writes the cross-reference table and the trailer and closes the file; false when any
    // write failed (a full disk), so that the caller removes what was written.
    bool finish(int catalog, int info);
    // Closes the file without finishing it.
    void abandon();

private:
    void write(std::string_view bytes);

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    long position_ = 0;
    std::vector<long> offsets_{0};
};

// The data compressed as a deflate (zlib) stream, as /FlateDecode reads it.
std::string deflateBytes(std::string_view data, int level);
// A text as a PDF literal string, "(" and ")" included, with its special characters escaped.
std::string pdfLiteral(std::string_view text);
// Appends an integer in decimal.
void appendNumber(std::string& out, long value);

} // namespace platform
