#pragma once

#include "accessdb/classlib/Exceptions.h"

#include <memory>
#include <string>
#include <vector>

namespace accessdb {

// An owning list of items of one kind, addressed by position.
template <typename Item>
class TCollection {
public:
    Item& add() {
        items_.push_back(std::make_unique<Item>());
        return *items_.back();
    }
    int count() const { return static_cast<int>(items_.size()); }
    Item& items(int index) const {
        if (index < 0 || index >= count())
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        return *items_[static_cast<std::size_t>(index)];
    }
    void clear() { items_.clear(); }
    bool empty() const { return items_.empty(); }

private:
    std::vector<std::unique_ptr<Item>> items_;
};

} // namespace accessdb
