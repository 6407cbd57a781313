#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quillan {

// Reads a text list line by line without holding the file: a line ends at CR LF, at a lone
// LF or at a lone CR, and a UTF-8 byte-order mark before the first line is dropped. A line
// longer than MaxLineBytes stops the reading, so that a binary file is never taken whole
// as one record.
class TextLineReader {
public:
    static constexpr size_t MaxLineBytes = 1 << 20;

    enum class Status { Line, End, TooLong };

    // Throws ListFileError when the file cannot be opened.
    explicit TextLineReader(const std::string& path);
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;
    ~TextLineReader();

    // The next line without its terminator. Throws ListFileError on a read error.
    Status next(std::string& line);
    // Skips n lines; false when the file ended or a line was too long first.
    bool skip(long n);
    // Lines read so far.
    long linesRead() const { return lines_; }
    // How the last line read ended: "\r\n", "\n", "\r", or "" at the end of the file.
    const char* lastLineEnd() const { return lastEnd_; }

private:
    bool fill();
    int peek();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t size_ = 0;
    long lines_ = 0;
    bool started_ = false;
    bool failed_ = false;
    const char* lastEnd_ = "";
};

} // namespace quillan
