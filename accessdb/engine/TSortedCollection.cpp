#include "accessdb/engine/TSortedCollection.h"

namespace accessdb {

void TSortedCollection::insert(TBapiListItem* item) {
    int index = 0;
    if (!search(keyOf(item), index) || duplicates)
        insertAt(index, item);
}

bool TSortedCollection::search(const void* key, int& index) const {
    int lo = 0;
    int hi = count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = compare(keyOf(at(mid)), key);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (!duplicates)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

} // namespace accessdb
