#pragma once

#include "accessdb/engine/TTorvaneCollection.h"

namespace accessdb {

// A collection kept in ascending key order, with binary search. With duplicates allowed a
// new item goes before the items with an equal key; without, it is not listed.
class TSortedCollection : public TTorvaneCollection {
public:
    bool duplicates = true;

    void insert(TBapiListItem* item) override;

    virtual const void* keyOf(TBapiListItem* item) const { return item; }
    virtual int compare(const void* key1, const void* key2) const = 0;
    // Whether an item with the key is listed; index is where the key is or would go (the
    // first of equal items when duplicates are allowed).
    virtual bool search(const void* key, int& index) const;
};

} // namespace accessdb
