#pragma once

#include "accessdb/engine/TFieldCacheItem.h"

#include <memory>
#include <string_view>
#include <vector>

namespace accessdb {

class TBaseTable;

// A cursor's fields in field-number order (item n - 1 is field n). A field not cached yet is
// asked of the cursor.
class TTorvaneFieldCache {
public:
    explicit TTorvaneFieldCache(TBaseTable* cursor) : cursor_(cursor) {}

    TBaseTable* cursor() const { return cursor_; }
    int count() const { return static_cast<int>(items_.size()); }
    // Field n; beyond the cached fields the cursor describes the missing ones.
    TFieldCacheItem& items(int fieldNumber);
    TFieldCacheItem& add(std::uint16_t localSize, std::uint16_t localType,
                         std::uint16_t fieldNumber, const FieldDesc& descriptor);
    void clear() { items_.clear(); }
    // Points every field at the buffer, each unchanged and null.
    void setRecordBufferAll(Byte* buffer);
    // The number of the first field so named (letter case aside); 0 when none.
    int indexOfName(std::string_view name) const;

private:
    TBaseTable* cursor_;
    std::vector<std::unique_ptr<TFieldCacheItem>> items_;
};

} // namespace accessdb
