#include "listio/PaveListSource.h"

namespace quillan {

PaveListSource::PaveListSource(std::string path) : path_(std::move(path)) {
    reopen();
}

void PaveListSource::reopen() {
    reader_ = std::make_unique<TextLineReader>(path_);
    reader_->skip(1);
    position_ = 0;
}

bool PaveListSource::read(long k, int, ListRecord& record) {
    if (k <= position_)
        reopen();
    if (k > position_ + 1 && !reader_->skip(k - position_ - 1))
        return false;
    record.fields.clear();
    record.deleted = false;
    if (reader_->next(record.line) != TextLineReader::Status::Line)
        return false;
    position_ = k;
    return true;
}

std::string PaveListSource::describingLine() {
    TextLineReader header(path_);
    std::string line;
    header.next(line);
    return line;
}

} // namespace quillan
