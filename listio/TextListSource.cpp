#include "listio/TextListSource.h"

#include "listio/AsciiFields.h"
#include "listio/ListFileError.h"
#include "listio/ListFormat.h"
#include "listio/ListKinds.h"

namespace quillan {

TextListSource::TextListSource(const ListFormat& format, std::string path, int fieldCount)
    : format_(format), path_(std::move(path)), fieldCount_(fieldCount) {
    reopen();
}

void TextListSource::reopen() {
    reader_ = std::make_unique<TextLineReader>(path_);
    position_ = 0;
    if (format_.headerLine)
        reader_->skip(1);
}

std::vector<std::string> TextListSource::fieldNames() {
    if (!format_.headerLine)
        return {};
    TextLineReader header(path_);
    std::string line;
    header.next(line);
    std::vector<std::string> names;
    SplitAsciiRecord(format_, fieldCount_, line, names);
    return names;
}

bool TextListSource::read(long k, int fields, ListRecord& record) {
    if (k <= position_)
        reopen();
    if (k > position_ + 1 && !reader_->skip(k - position_ - 1))
        return false;
    auto status = reader_->next(record.line);
    if (status == TextLineReader::Status::TooLong)
        throw ListFileError("Line " + std::to_string(k) + " of file \"" + path_ +
                            "\" is longer than 1 MB.");
    if (status == TextLineReader::Status::End)
        return false;
    position_ = k;
    SplitAsciiRecord(format_, fields, record.line, record.fields);
    record.deleted = false;
    return true;
}

} // namespace quillan
