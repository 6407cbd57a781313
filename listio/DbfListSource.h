#pragma once

#include "listio/DbfHeader.h"
#include "listio/ListSource.h"

#include <cstdio>
#include <string>
#include <vector>

namespace quillan {

// A dBase table read raw: a record is a deletion mark followed by the fields in descriptor
// order, each its width in bytes, as the file holds them (no conversion, blanks kept).
class DbfListSource : public ListSource {
public:
    // The header must have passed readDbfHeader's checks.
    DbfListSource(std::string path, DbfHeader header);
    ~DbfListSource() override;
    DbfListSource(const DbfListSource&) = delete;
    DbfListSource& operator=(const DbfListSource&) = delete;

    std::vector<std::string> fieldNames() override;
    bool read(long k, int fields, ListRecord& record) override;

private:
    std::string path_;
    DbfHeader header_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    long position_ = -1; // the record the file is positioned after
};

} // namespace quillan
