#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <cstdint>

namespace accessdb {

class TTorvaneCollection;
struct EnginePlatform;

// Every object handed out as an engine handle: it knows the handle it was opened under and
// the collection that lists (and owns) it, and answers numbered properties.
class TBapiListItem {
public:
    // Lists the item in the collection when one is given.
    TBapiListItem(TBapiListItem* owner, TTorvaneCollection* collection);
    // Unlists the item.
    virtual ~TBapiListItem();

    TBapiListItem(const TBapiListItem&) = delete;
    TBapiListItem& operator=(const TBapiListItem&) = delete;

    TBapiListItem* owner() const { return owner_; }
    TTorvaneCollection* collection() const { return collection_; }
    // The item's position in its collection, 0 when it is not listed.
    int indexInCollection() const;

    // Writes a property's value into the buffer and its size; unknown properties are not
    // supported.
    virtual void getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                         std::uint16_t maxLen);
    virtual void setProp(std::uint32_t /*propId*/, std::uint32_t /*value*/) {}
    // The platform services of the engine the item belongs to: its owner's, up to the engine
    // object, which was given them; none for an item of no engine.
    virtual const EnginePlatform* enginePlatform() const {
        return owner_ ? owner_->enginePlatform() : nullptr;
    }
    virtual void checkProp(std::uint32_t /*propId*/, std::uint32_t /*flag*/) {}

protected:
    void setOwner(TBapiListItem* owner) { owner_ = owner; }

private:
    friend class TTorvaneCollection;

    TBapiListItem* owner_;
    TTorvaneCollection* collection_ = nullptr;
};

} // namespace accessdb
