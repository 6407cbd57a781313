#include "listio/TextListSource.h"

#include "listio/AsciiFields.h"
#include "listio/ListFileError.h"
#include "listio/ListKinds.h"

namespace quillan {

TextListSource::TextListSource(std::string kind, std::string path, int fieldCount)
    : kind_(std::move(kind)), path_(std::move(path)), fieldCount_(fieldCount) {
    reopen();
}

void TextListSource::reopen() {
    reader_ = std::make_unique<TextLineReader>(path_);
    position_ = 0;
    if (isHeaderKind(kind_))
        reader_->skip(1);
}

std::vector<std::string> TextListSource::fieldNames() {
    if (!isHeaderKind(kind_))
        return {};
    TextLineReader header(path_);
    std::string line;
    header.next(line);
    // A merge header is split as a comma line whatever quoting the records use.
    std::string kind = kind_ == KindMerge ? KindMergeIndex : kind_;
    std::vector<std::string> names;
    SplitAsciiRecord(kind, fieldCount_, line, names);
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
    SplitAsciiRecord(kind_, fields, record.line, record.fields);
    record.deleted = false;
    return true;
}

} // namespace quillan
