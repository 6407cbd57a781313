#include "listio/TextListSource.h"

#include "listio/AsciiFields.h"
#include "listio/HeadingRecord.h"
#include "listio/ListFileError.h"
#include "listio/ListFormat.h"

#include <algorithm>

namespace quillan {

TextListSource::TextListSource(const ListFormat& format, std::string path, int fieldCount)
    : format_(format), path_(std::move(path)), fieldCount_(fieldCount),
      headingLine_(format.headerLine) {
    reopen();
}

void TextListSource::reopen() {
    reader_ = std::make_unique<TextRecordReader>(path_, format_, fieldCount_);
    position_ = 0;
    if (headingLine_)
        reader_->skip(1);
}

// A list without a header line offers its first line's fields as names when one of them
// says "zip", so that a heading line names the fields as a header line does.
std::vector<std::string> TextListSource::fieldNames() {
    TextRecordReader header(path_, format_, fieldCount_);
    std::string line;
    header.next(line);
    std::vector<std::string> names;
    SplitAsciiRecord(format_, fieldCount_, line, names);
    if (format_.headerLine || std::any_of(names.begin(), names.end(), namesTheFields))
        return names;
    return {};
}

bool TextListSource::read(long k, int fields, ListRecord& record) {
    if (k <= position_)
        reopen();
    if (k > position_ + 1 && !reader_->skip(k - position_ - 1))
        return false;
    auto status = reader_->next(record.line);
    if (status == TextRecordReader::Status::TooLong ||
        status == TextRecordReader::Status::BrokenQuote)
        throw ListFileError("Quillan cannot read the file \"" + path_ + "\". " +
                            reader_->problem());
    if (status == TextRecordReader::Status::End)
        return false;
    position_ = k;
    SplitAsciiRecord(format_, fields, record.line, record.fields);
    record.deleted = false;
    return true;
}

long TextListSource::readFor(const FieldRoles& roles) {
    if (headingLine_)
        return 0;
    ListRecord first;
    const int zipField = headingTestField(roles);
    if (zipField < 0 || !read(1, fieldCount_, first) ||
        static_cast<size_t>(zipField) >= first.fields.size() ||
        !namesTheFields(first.fields[static_cast<size_t>(zipField)]))
        return 0;
    headingLine_ = true;
    reopen();
    return 1;
}

} // namespace quillan
