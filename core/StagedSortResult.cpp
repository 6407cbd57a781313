#include "core/StagedSortResult.h"

#include "core/SettingsList.h"
#include "core/SortResults.h"
#include "platform/fs/AtomicFile.h"

namespace quillan {

StagedSortResult::StagedSortResult(const SortedMailing& mailing, const std::string& path)
    : path_(path), writer_(std::make_unique<platform::AtomicFileWriter>(
                       path, platform::AtomicFileWriter::Links::Refuse)) {
    writer_->write(SortResultBytes(mailing));
    if (!writer_->ok())
        fail(writer_->error());
}

StagedSortResult::~StagedSortResult() = default;

void StagedSortResult::putInPlace() {
    if (!writer_)
        return;
    const platform::WriteResult result = writer_->commit();
    writer_.reset();
    if (!result.ok)
        fail(result.error);
}

void StagedSortResult::fail(const std::string& why) const {
    throw FileError("Cannot create file \"" + path_ + "\" (" + why + ").");
}

} // namespace quillan
