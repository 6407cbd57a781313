#include "listio/TextLineReader.h"

#include "listio/ListFileError.h"

#include <cerrno>
#include <cstring>

namespace quillan {

TextLineReader::TextLineReader(const std::string& path) : path_(path), buffer_(64 * 1024) {
    file_ = openListFile(path);
}

TextLineReader::~TextLineReader() {
    if (file_)
        std::fclose(file_);
}

bool TextLineReader::fill() {
    if (pos_ < size_)
        return true;
    size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    pos_ = 0;
    if (size_ == 0 && std::ferror(file_))
        throw ListFileError::cannotRead(path_, errno ? errno : EIO);
    return size_ > 0;
}

int TextLineReader::peek() {
    return fill() ? static_cast<unsigned char>(buffer_[pos_]) : EOF;
}

TextLineReader::Status TextLineReader::next(std::string& line) {
    line.clear();
    if (failed_)
        return Status::TooLong;
    if (!started_) {
        started_ = true;
        static const char bom[] = "\xEF\xBB\xBF";
        // The mark is only three bytes: it always lies within the first fill.
        if (fill() && size_ >= 3 && std::memcmp(buffer_.data(), bom, 3) == 0)
            pos_ = 3;
    }
    bool any = false;
    while (fill()) {
        any = true;
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + size_;
        const char* stop = begin;
        while (stop != end && *stop != '\n' && *stop != '\r')
            ++stop;
        if (line.size() + static_cast<size_t>(stop - begin) > MaxLineBytes) {
            failed_ = true;
            line.clear();
            return Status::TooLong;
        }
        line.append(begin, stop);
        pos_ += static_cast<size_t>(stop - begin);
        if (stop == end)
            continue;
        char terminator = *stop;
        ++pos_;
        lastEnd_ = terminator == '\n' ? "\n" : "\r";
        if (terminator == '\r' && peek() == '\n') {
            ++pos_;
            lastEnd_ = "\r\n";
        }
        ++lines_;
        return Status::Line;
    }
    lastEnd_ = "";
    if (!any)
        return Status::End;
    ++lines_;
    return Status::Line;
}

bool TextLineReader::skip(long n) {
    std::string line;
    for (long i = 0; i < n; ++i)
        if (next(line) != Status::Line)
            return false;
    return true;
}

} // namespace quillan
