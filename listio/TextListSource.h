#pragma once

#include "listio/ListSource.h"
#include "listio/TextLineReader.h"

#include <memory>
#include <string>

namespace quillan {

struct ListFormat;

// A text list: a record is a line (after the header line of a merge or bar list), split by
// the rules of its format.
class TextListSource : public ListSource {
public:
    TextListSource(const ListFormat& format, std::string path, int fieldCount);

    std::vector<std::string> fieldNames() override;
    bool read(long k, int fields, ListRecord& record) override;

private:
    void reopen();

    const ListFormat& format_;
    std::string path_;
    int fieldCount_;
    std::unique_ptr<TextLineReader> reader_;
    long position_ = 0; // the last record read
};

} // namespace quillan
