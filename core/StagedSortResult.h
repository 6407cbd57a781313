#pragma once

#include "core/SortedMailing.h"

#include <memory>
#include <string>

namespace platform {
class AtomicFileWriter;
}

namespace quillan {

// A sort's result written beside the sort-result file and put in its place only once the
// sort goes ahead: a sort stopped before then leaves the file of the last sort that went
// ahead, so that a reprint prints that one. Dropped without putInPlace, nothing of it stays.
class StagedSortResult {
public:
    // Writes the whole result aside; throws FileError when it cannot (a full disk, say),
    // the sort-result file then as it was.
    StagedSortResult(const SortedMailing& mailing, const std::string& path);
    ~StagedSortResult();
    StagedSortResult(const StagedSortResult&) = delete;
    StagedSortResult& operator=(const StagedSortResult&) = delete;

    // Puts the result in the file's place; throws FileError when it cannot, the file then as
    // it was. Once only.
    void putInPlace();

private:
    [[noreturn]] void fail(const std::string& why) const;

    std::string path_;
    std::unique_ptr<platform::AtomicFileWriter> writer_;
};

} // namespace quillan
