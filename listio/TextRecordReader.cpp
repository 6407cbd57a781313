#include "listio/TextRecordReader.h"

#include "listio/AsciiFields.h"
#include "listio/AsciiFormat.h"
#include "listio/ListFormat.h"

#include <cstring>

namespace quillan {

TextRecordReader::TextRecordReader(const std::string& path, const ListFormat& format,
                                   int fieldCount)
    : lines_(path), format_(format), fieldCount_(fieldCount),
      joinsLines_(format.fieldSplit == ListFormat::FieldSplit::Comma) {}

const TextRecordReader::Line* TextRecordReader::peek(size_t ahead) {
    while (pending_.size() <= ahead && !fileEnded_ && !lineTooLong_) {
        Line line;
        auto status = lines_.next(line.text);
        if (status == TextLineReader::Status::End) {
            fileEnded_ = true;
            break;
        }
        if (status == TextLineReader::Status::TooLong) {
            lineTooLong_ = true;
            break;
        }
        line.end = lines_.lastLineEnd();
        pending_.push_back(std::move(line));
    }
    return ahead < pending_.size() ? &pending_[ahead] : nullptr;
}

TextRecordReader::Status TextRecordReader::fail(Status status, std::string problem) {
    problem_ = std::move(problem);
    return status;
}

size_t TextRecordReader::linesOfNextRecord() {
    if (!joinsLines_ || !walkCommaQuotes(pending_.front().text, false).openAtEnd)
        return 1;
    size_t bytes = pending_.front().text.size();
    for (size_t k = 1;; ++k) {
        const Line* line = peek(k);
        if (!line)
            return 1;
        bytes += std::strlen(pending_[k - 1].end) + line->text.size();
        if (bytes > TextLineReader::MaxLineBytes)
            return 1;
        QuoteWalk walk = walkCommaQuotes(line->text, true);
        if (!walk.carriedFieldEndsCleanly)
            return 1;
        if (!walk.openAtEnd)
            return k + 1;
    }
}

TextRecordReader::Status TextRecordReader::next(std::string& record) {
    record.clear();
    if (!peek(0))
        return lineTooLong_ ? fail(Status::TooLong, LineTooLongReason(linesTaken_ + 1))
                            : Status::End;
    const size_t span = linesOfNextRecord();
    firstLine_ = linesTaken_ + 1;
    lineSpan_ = static_cast<long>(span);
    for (size_t k = 0; k < span; ++k) {
        Line& line = pending_.front();
        if (k > 0)
            record += lastEnd_;
        record += line.text;
        lastEnd_ = line.end;
        pending_.pop_front();
    }
    linesTaken_ += lineSpan_;
    if (span > 1 && fieldCount_ > 0 && fieldCount(format_, record) != fieldCount_)
        return fail(Status::BrokenQuote,
                    "Line " + std::to_string(firstLine()) +
                        " of the file begins a quoted field that runs on to line " +
                        std::to_string(lastLine()) + ", and read that way its record holds " +
                        std::to_string(fieldCount(format_, record)) +
                        " fields where the list's "
                        "records hold " +
                        std::to_string(fieldCount_) +
                        ": Quillan cannot tell where that record ends. Please check the quotes "
                        "of that record.");
    return Status::Record;
}

bool TextRecordReader::skip(long n) {
    std::string record;
    for (long i = 0; i < n; ++i)
        if (next(record) != Status::Record)
            return false;
    return true;
}

} // namespace quillan
