#pragma once

#include <cstddef>
#include <vector>

namespace accessdb {

class TBapiListItem;

// A list that owns its items: freeing it frees every item still listed. Items unlist
// themselves when they are freed.
class TTorvaneCollection {
public:
    TTorvaneCollection() = default;
    virtual ~TTorvaneCollection();

    TTorvaneCollection(const TTorvaneCollection&) = delete;
    TTorvaneCollection& operator=(const TTorvaneCollection&) = delete;

    // Appends (the sorted collection inserts in key order).
    virtual void insert(TBapiListItem* item);

    // The item, or none for an index out of range.
    TBapiListItem* at(std::ptrdiff_t index) const;
    // The item; an index out of range is a list error.
    TBapiListItem* atChecked(std::ptrdiff_t index) const;
    int count() const { return static_cast<int>(items_.size()); }
    int indexOf(const TBapiListItem* item) const;
    void insertAt(std::ptrdiff_t index, TBapiListItem* item);
    // Unlists without freeing.
    void remove(TBapiListItem* item);
    void deleteAt(std::ptrdiff_t index);
    void deleteAll();

    static void freeItem(TBapiListItem* item);
    // Frees every item, the last first.
    void freeAll();

    const std::vector<TBapiListItem*>& items() const { return items_; }

private:
    void list(std::ptrdiff_t index, TBapiListItem* item);

    std::vector<TBapiListItem*> items_;
};

} // namespace accessdb
