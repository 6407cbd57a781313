#pragma once

#include "listio/TextLineReader.h"

#include <deque>
#include <optional>
#include <string>

namespace quillan {

struct ListFormat;

// Reads the records of a text list. A record is a line, except in a comma or merge list
// where a quoted field holds a line break (a spreadsheet's cell of two lines): that record
// runs on over the next lines, the breaks kept in its text as the file holds them, so that
// it is read as one record and written back byte for byte.
//
// A line is carried on only when that reads as a record: its open quote closes on a later
// line directly before a comma or the line's end, and, when the list's field count is
// known, the record then holds exactly that many fields. A quote that never closes, or
// closes in the middle of a field, is a stray one: its line stays a record of its own, read
// as before (the quote runs to the line's end). A record that would hold another number of
// fields cannot be told apart safely and is refused (BrokenQuote) rather than split; so is
// one whose lines, read that way, run on past the longest line Quillan reads (TooLong), as
// a single line that long is.
class TextRecordReader {
public:
    enum class Status { Record, End, TooLong, BrokenQuote };

    // fieldCount 0: not known yet (the lines that tell it are being counted). Throws
    // ListFileError when the file cannot be opened.
    TextRecordReader(const std::string& path, const ListFormat& format, int fieldCount = 0);

    // The next record, line breaks inside it included, without its own line end. Throws
    // ListFileError on a read error.
    Status next(std::string& record);
    // Skips n records; false when the file ended first or a record could not be read.
    bool skip(long n);
    // The line of the file the last record began on (1-based), and the line it ended on.
    long firstLine() const { return firstLine_; }
    long lastLine() const { return firstLine_ + lineSpan_ - 1; }
    // How the last record's last line ended: "\r\n", "\n", "\r", or "" at the file's end.
    const char* lastLineEnd() const { return lastEnd_; }
    // After TooLong or BrokenQuote: why the record cannot be read, as a sentence.
    const std::string& problem() const { return problem_; }

private:
    struct Line {
        std::string text;
        const char* end = "";
    };

    // Line `ahead` after the ones already handed out, read from the file when needed;
    // nullptr past the end (or at a line too long to read).
    const Line* peek(size_t ahead);
    // How many lines the record beginning with the next one takes: more than one only
    // when its quoted line breaks carry it on; nothing when they carry it on past the
    // longest line read (runOnTo_ then tells the line it ends on).
    std::optional<size_t> linesOfNextRecord();
    // Whether the quoted field still open after pending line `k` - 1 closes as a field on a
    // later line (the file's line it does is then runOnTo_); walked without keeping the lines.
    bool closesFurtherOn(size_t k);
    Status fail(Status status, std::string problem);

    std::string path_;
    TextLineReader lines_;
    const ListFormat& format_;
    int fieldCount_;
    bool joinsLines_;
    std::deque<Line> pending_;
    bool fileEnded_ = false;
    bool lineTooLong_ = false;
    long linesTaken_ = 0;
    long firstLine_ = 0;
    long lineSpan_ = 0;
    const char* lastEnd_ = "";
    long runOnTo_ = 0;
    std::string problem_;
    // Once a record cannot be read, the reading stops there.
    Status stopped_ = Status::Record;
};

} // namespace quillan
