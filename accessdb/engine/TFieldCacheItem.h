#pragma once

#include "accessdb/engine/FieldDesc.h"

#include <cstdint>

namespace accessdb {

// One field of a cursor: its descriptor (with the type and size it is exchanged in) and
// where it lies in the record buffer being worked on.
class TFieldCacheItem {
public:
    TFieldCacheItem(std::uint16_t localSize, std::uint16_t localType, std::uint16_t fieldNumber,
                    const FieldDesc& descriptor);

    FieldDesc& desc() { return desc_; }
    const FieldDesc& desc() const { return desc_; }
    std::uint16_t fieldNumber() const { return desc_.fieldNumber; }
    const std::string& fieldName() const { return desc_.name; }
    void setFieldName(const std::string& name) { desc_.setName(name); }
    std::uint16_t localType() const { return desc_.localType; }
    std::uint16_t localSize() const { return desc_.localSize; }

    // Points the item at a record buffer (none clears the pointers).
    void setRecordBuffer(Byte* buffer);
    Byte* recordBuffer() const { return recordBuffer_; }
    Byte* fieldData() const { return fieldData_; }
    Byte* nullIndicator() const { return nullIndicator_; }

    bool isNull() const;
    void setNull(bool null);
    // A field without an indicator always counts as changed.
    bool isChanged() const;
    void setChanged(bool changed);

private:
    FieldDesc desc_;
    Byte* recordBuffer_ = nullptr;
    Byte* fieldData_ = nullptr;
    Byte* nullIndicator_ = nullptr;
};

} // namespace accessdb
