#include "accessdb/engine/TTorvaneFieldCache.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TBaseTable.h"

namespace accessdb {

TFieldCacheItem& TTorvaneFieldCache::items(int fieldNumber) {
    if (fieldNumber >= 1 && fieldNumber <= count())
        return *items_[static_cast<std::size_t>(fieldNumber - 1)];
    if (fieldNumber < 1 || !cursor_)
        raiseEngineError(dbierr::INVALIDRECSTRUCT);
    while (count() < fieldNumber) {
        FieldDesc desc;
        auto number = static_cast<std::uint16_t>(count() + 1);
        cursor_->getFieldDescriptor(number, desc);
        add(desc.localSize, desc.localType, number, desc);
    }
    return *items_.back();
}

TFieldCacheItem& TTorvaneFieldCache::add(std::uint16_t localSize, std::uint16_t localType,
                                         std::uint16_t fieldNumber, const FieldDesc& descriptor) {
    items_.push_back(
        std::make_unique<TFieldCacheItem>(localSize, localType, fieldNumber, descriptor));
    return *items_.back();
}

void TTorvaneFieldCache::setRecordBufferAll(Byte* buffer) {
    for (auto& item : items_) {
        item->setRecordBuffer(buffer);
        item->setChanged(false);
        item->setNull(true);
    }
}

int TTorvaneFieldCache::indexOfName(std::string_view name) const {
    for (const auto& item : items_)
        if (equalsIgnoreCase(item->fieldName(), name))
            return item->fieldNumber();
    return 0;
}

} // namespace accessdb
