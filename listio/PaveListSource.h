#pragma once

#include "listio/ListSource.h"
#include "listio/TextLineReader.h"

#include <memory>
#include <string>

namespace quillan {

// A PAVE file: a line that describes the file, then a record of fixed positions on each
// line. Its fields are the positions the PAVE reader takes, so a record is handed out as
// its line only.
class PaveListSource : public ListSource {
public:
    // Throws ListFileError when the file cannot be opened.
    explicit PaveListSource(std::string path);

    std::vector<std::string> fieldNames() override { return {}; }
    bool read(long k, int fields, ListRecord& record) override;
    std::string describingLine() override;

private:
    void reopen();

    std::string path_;
    std::unique_ptr<TextLineReader> reader_;
    long position_ = 0; // the last record read
};

} // namespace quillan
