#include "accessdb/components/TttBlobStream.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/ComponentPlatform.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/EngineSupport.h"
#include "accessdb/components/TttDBEDataset.h"
#include "accessdb/engine/TVirtEng.h"

#include <algorithm>
#include <vector>

namespace accessdb {

TttBlobStream::TttBlobStream(TField& field, BlobStreamMode mode) : field_(field) {
    dataSet_ = dynamic_cast<TttDBEDataset*>(field.dataSet());
    if (!dataSet_)
        throw EInvalidCast();
    open(mode);
}

TttBlobStream::~TttBlobStream() {
    if (opened_ && !modified_)
        engine()->FreeBlob(dataSet_->handle(), record_, fieldNumber_);
    if (!modified_)
        return;
    try {
        dataSet_->fieldChanged(field_);
    } catch (const std::exception& error) {
        if (componentPlatform().showException)
            componentPlatform().showException(error);
    }
}

TVirtEng* TttBlobStream::engine() const {
    return dataSet_->engine();
}

bool TttBlobStream::translated() const {
    return field_.dataType() == TFieldType::Memo;
}

void TttBlobStream::open(BlobStreamMode mode) {
    record_ = dataSet_->currentRowBuffer();
    if (!record_ || !dataSet_->handle())
        return;
    TDataSetState state = dataSet_->state();
    if (state == TDataSetState::Filter)
        dataSet_->databaseError("Cannot access field '" + field_.displayName() + "' in a filter");
    if (mode != BlobStreamMode::Read) {
        if (field_.readOnly())
            dataSet_->databaseError("Field '" + field_.displayName() + "' cannot be modified");
        if (state != TDataSetState::Edit && state != TDataSetState::Insert)
            dataSet_->databaseError("Dataset not in edit or insert mode");
    }
    if (state == TDataSetState::Browse)
        check(engine(), engine()->GetRecord(dataSet_->handle(), LockType::None, record_, nullptr));
    fieldNumber_ = static_cast<std::uint16_t>(field_.fieldNo());
    check(engine(), engine()->OpenBlob(dataSet_->handle(), record_, fieldNumber_,
                                       mode == BlobStreamMode::Read ? 1 : 0));
    opened_ = true;
    if (mode == BlobStreamMode::Write)
        truncate();
}

std::uint32_t TttBlobStream::read(void* buffer, std::uint32_t count) {
    if (!opened_ || count == 0)
        return 0;
    std::uint32_t done = 0;
    auto* bytes = static_cast<Byte*>(buffer);
    Status status =
        engine()->GetBlob(dataSet_->handle(), record_, fieldNumber_, position_, count, bytes, done);
    if (status == dbierr::INVALIDBLOBOFFSET)
        return 0;
    if (status != 0 && status != dbierr::ENDOFBLOB)
        check(engine(), status);
    if (translated() && done > 0) {
        auto* text = static_cast<char*>(buffer);
        nativeToAnsiBuf(engine(), text, text, static_cast<int>(done));
    }
    position_ += done;
    return done;
}

std::uint32_t TttBlobStream::write(const void* buffer, std::uint32_t count) {
    if (!opened_)
        return 0;
    const auto* bytes = static_cast<const Byte*>(buffer);
    std::vector<char> native;
    if (translated() && count > 0) {
        native.assign(static_cast<const char*>(buffer), static_cast<const char*>(buffer) + count);
        ansiToNativeBuf(engine(), native.data(), native.data(), static_cast<int>(count));
        bytes = reinterpret_cast<const Byte*>(native.data());
    }
    check(engine(),
          engine()->PutBlob(dataSet_->handle(), record_, fieldNumber_, position_, count, bytes));
    position_ += count;
    modified_ = true;
    return count;
}

std::uint32_t TttBlobStream::seek(std::int64_t offset, int origin) {
    std::int64_t base = origin == 1 ? position_ : (origin == 2 ? size() : 0);
    position_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(base + offset, 0, UINT32_MAX));
    return position_;
}

void TttBlobStream::truncate() {
    if (!opened_)
        return;
    check(engine(), engine()->TruncateBlob(dataSet_->handle(), record_, fieldNumber_, position_));
    modified_ = true;
}

std::uint32_t TttBlobStream::size() {
    if (!opened_)
        return 0;
    std::uint32_t size = 0;
    check(engine(), engine()->GetBlobSize(dataSet_->handle(), record_, fieldNumber_, size));
    return size;
}

} // namespace accessdb
