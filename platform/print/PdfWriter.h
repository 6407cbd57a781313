#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Makes the bytes of a PDF file one numbered object at a time and ends them with the
// cross-reference table and the trailer; the caller stores them. Objects may be written in any
// order once their numbers are reserved, so that a page can name resources written after it.
class PdfWriter {
public:
    // Starts a file, forgetting any before it.
    void start();
    bool started() const { return started_; }

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

    // Ends the file with its cross-reference table and trailer.
    void finish(int catalog, int info);
    // The file's bytes so far (all of them once finished).
    const std::string& bytes() const { return out_; }
    // Forgets the file.
    void abandon();

private:
    void write(std::string_view bytes) { out_ += bytes; }
    long position() const { return static_cast<long>(out_.size()); }

    bool started_ = false;
    std::string out_;
    std::vector<long> offsets_{0};
};

// The data compressed as a deflate (zlib) stream, as /FlateDecode reads it.
std::string deflateBytes(std::string_view data, int level);
// A text as a PDF literal string, "(" and ")" included, with its special characters escaped.
std::string pdfLiteral(std::string_view text);
// Appends an integer in decimal.
void appendNumber(std::string& out, long value);

} // namespace platform
