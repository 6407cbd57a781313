#include "accessdb/engine/TFieldCacheItem.h"

namespace accessdb {

TFieldCacheItem::TFieldCacheItem(std::uint16_t localSize, std::uint16_t localType,
                                 std::uint16_t fieldNumber, const FieldDesc& descriptor)
    : desc_(descriptor) {
    desc_.fieldNumber = fieldNumber;
    desc_.localType = localType;
    desc_.localSize = localSize;
}

void TFieldCacheItem::setRecordBuffer(Byte* buffer) {
    recordBuffer_ = buffer;
    fieldData_ = buffer ? buffer + desc_.offset : nullptr;
    nullIndicator_ = buffer && desc_.nullOffset ? buffer + desc_.nullOffset : nullptr;
}

bool TFieldCacheItem::isNull() const {
    return nullIndicator_ && getI16(nullIndicator_, 0) == -1;
}

void TFieldCacheItem::setNull(bool null) {
    if (nullIndicator_)
        putI16(nullIndicator_, 0, null ? -1 : 0);
}

bool TFieldCacheItem::isChanged() const {
    return !nullIndicator_ || getI32(nullIndicator_, 4) != 0;
}

void TFieldCacheItem::setChanged(bool changed) {
    if (nullIndicator_)
        putI32(nullIndicator_, 4, changed ? -1 : 0);
}

} // namespace accessdb
