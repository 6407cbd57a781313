#include "accessdb/engine/TTorvaneCollection.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/engine/TBapiListItem.h"

#include <algorithm>
#include <string>

namespace accessdb {

TTorvaneCollection::~TTorvaneCollection() {
    freeAll();
}

void TTorvaneCollection::list(std::ptrdiff_t index, TBapiListItem* item) {
    items_.insert(items_.begin() + index, item);
    item->collection_ = this;
}

void TTorvaneCollection::insert(TBapiListItem* item) {
    list(static_cast<std::ptrdiff_t>(items_.size()), item);
}

TBapiListItem* TTorvaneCollection::at(std::ptrdiff_t index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return items_[static_cast<std::size_t>(index)];
}

TBapiListItem* TTorvaneCollection::atChecked(std::ptrdiff_t index) const {
    if (index < 0 || index >= count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

int TTorvaneCollection::indexOf(const TBapiListItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TTorvaneCollection::insertAt(std::ptrdiff_t index, TBapiListItem* item) {
    if (index < 0 || index > count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    list(index, item);
}

void TTorvaneCollection::remove(TBapiListItem* item) {
    int index = indexOf(item);
    if (index >= 0)
        deleteAt(index);
}

void TTorvaneCollection::deleteAt(std::ptrdiff_t index) {
    TBapiListItem* item = atChecked(index);
    items_.erase(items_.begin() + index);
    if (item->collection_ == this)
        item->collection_ = nullptr;
}

void TTorvaneCollection::deleteAll() {
    while (!items_.empty())
        deleteAt(count() - 1);
}

void TTorvaneCollection::freeItem(TBapiListItem* item) {
    delete item;
}

void TTorvaneCollection::freeAll() {
    // Each item is unlisted before it is freed, so an item that frees or unlists others on
    // its way out never leaves this walk holding a freed item.
    while (!items_.empty()) {
        TBapiListItem* item = items_.back();
        items_.pop_back();
        item->collection_ = nullptr;
        delete item;
    }
}

} // namespace accessdb
