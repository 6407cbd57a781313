#include "accessdb/engine/TBapiListItem.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/TTorvaneCollection.h"

namespace accessdb {

TBapiListItem::TBapiListItem(TBapiListItem* owner, TTorvaneCollection* collection) : owner_(owner) {
    if (collection)
        collection->insert(this);
}

TBapiListItem::~TBapiListItem() {
    if (collection_)
        collection_->remove(this);
}

int TBapiListItem::indexInCollection() const {
    return collection_ ? collection_->indexOf(this) : 0;
}

void TBapiListItem::getProp(std::uint32_t, Byte*, std::uint16_t& size, std::uint16_t) {
    size = 0;
    raiseNotSupported(9125);
}

} // namespace accessdb
