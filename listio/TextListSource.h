#pragma once

#include "listio/ListSource.h"
#include "listio/TextRecordReader.h"

#include <memory>
#include <string>

namespace quillan {

struct ListFormat;

// A text list: a record is a line (after the header line of a merge or bar list), or more
// than one when a quoted field holds a line break, split by the rules of its format.
class TextListSource : public ListSource {
public:
    TextListSource(const ListFormat& format, std::string path, int fieldCount);

    std::vector<std::string> fieldNames() override;
    bool read(long k, int fields, ListRecord& record) override;
    // A list without a header line may still begin with a line naming its fields
    // (listio/HeadingRecord.h), as a workbook's heading row does. That line is no record:
    // it is not counted, read or rejected.
    long readFor(const FieldRoles& roles) override;

private:
    void reopen();

    const ListFormat& format_;
    std::string path_;
    int fieldCount_;
    bool headingLine_;
    std::unique_ptr<TextRecordReader> reader_;
    long position_ = 0; // the last record read
};

} // namespace quillan
