#include "listio/TextRecordReader.h"

#include "listio/AsciiFields.h"
#include "listio/AsciiFormat.h"
#include "listio/ListFormat.h"

#include <cstring>

namespace quillan {

TextRecordReader::TextRecordReader(const std::string& path, const ListFormat& format,
                                   int fieldCount)
    : path_(path), lines_(path), format_(format), fieldCount_(fieldCount),
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
    stopped_ = status;
    return status;
}

std::optional<size_t> TextRecordReader::linesOfNextRecord() {
    if (!joinsLines_ || !walkCommaQuotes(pending_.front().text, false).openAtEnd)
        return 1;
    size_t bytes = pending_.front().text.size();
    for (size_t k = 1;; ++k) {
        const Line* line = peek(k);
        if (!line)
            return 1;
        bytes += std::strlen(pending_[k - 1].end) + line->text.size();
        // A record that long is never guessed at: it is refused when its quote closes as a
        // field further on, and a stray quote (one that never does) stays on its own line.
        if (bytes > TextLineReader::MaxLineBytes) {
            if (closesFurtherOn(k))
                return std::nullopt;
            return 1;
        }
        QuoteWalk walk = walkCommaQuotes(line->text, true);
        if (!walk.carriedFieldEndsCleanly)
            return 1;
        if (!walk.openAtEnd)
            return k + 1;
    }
}

bool TextRecordReader::closesFurtherOn(size_t k) {
    TextLineReader ahead(path_);
    if (!ahead.skip(linesTaken_ + static_cast<long>(k)))
        return false;
    std::string line;
    while (ahead.next(line) == TextLineReader::Status::Line) {
        QuoteWalk walk = walkCommaQuotes(line, true);
        if (!walk.carriedFieldEndsCleanly)
            return false;
        if (!walk.openAtEnd) {
            runOnTo_ = ahead.linesRead();
            return true;
        }
    }
    return false;
}

TextRecordReader::Status TextRecordReader::next(std::string& record) {
    record.clear();
    if (stopped_ != Status::Record)
        return stopped_;
    if (!peek(0))
        return lineTooLong_ ? fail(Status::TooLong, LineTooLongReason(linesTaken_ + 1))
                            : Status::End;
    firstLine_ = linesTaken_ + 1;
    const std::optional<size_t> runsOver = linesOfNextRecord();
    if (!runsOver)
        return fail(Status::TooLong,
                    "Line " + std::to_string(firstLine_) +
                        " of the file begins a quoted field that runs on to line " +
                        std::to_string(runOnTo_) +
                        ": read that way, its record is longer than 1,048,576 bytes, more "
                        "than Quillan reads as one record. Please check the quotes of that "
                        "record.");
    const size_t span = *runsOver;
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
