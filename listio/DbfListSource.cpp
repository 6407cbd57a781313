#include "listio/DbfListSource.h"

#include "listio/ListFileError.h"

#include <algorithm>
#include <cerrno>

namespace quillan {

DbfListSource::DbfListSource(std::string path, DbfHeader header)
    : path_(std::move(path)), header_(std::move(header)),
      buffer_(static_cast<size_t>(header_.recordLength)) {
    file_ = openListFile(path_);
}

DbfListSource::~DbfListSource() {
    if (file_)
        std::fclose(file_);
}

std::vector<std::string> DbfListSource::fieldNames() {
    std::vector<std::string> names;
    for (const auto& field : header_.fields)
        names.push_back(field.name);
    return names;
}

bool DbfListSource::read(long k, int fields, ListRecord& record) {
    if (k < 1 || k > header_.records)
        return false;
    if (k != position_ + 1) {
        long offset = header_.headerLength + (k - 1) * static_cast<long>(header_.recordLength);
        if (std::fseek(file_, offset, SEEK_SET) != 0)
            throw ListFileError::cannotRead(path_, errno);
    }
    if (std::fread(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        throw ListFileError::cannotRead(path_, errno ? errno : EIO);
    position_ = k;
    record.deleted = buffer_[0] != ' ';
    record.line.clear();
    size_t wanted = static_cast<size_t>(std::clamp<int>(fields, 0, header_.fields.size()));
    record.fields.resize(std::max(record.fields.size(), wanted));
    size_t offset = 1;
    for (size_t c = 0; c < record.fields.size(); ++c) {
        if (c >= wanted) {
            record.fields[c].clear();
            continue;
        }
        size_t width = static_cast<size_t>(header_.fields[c].width);
        record.fields[c].assign(buffer_.data() + offset, width);
        offset += width;
    }
    return true;
}

} // namespace quillan
