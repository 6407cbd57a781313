#pragma once

// A collection of the object model (TableDefs, Fields, Indexes and the rest): a count and
// its items by 0-based position.

#include "mdbengine/dao/Errors.h"

#include <memory>
#include <vector>

namespace mdbengine {

template <typename Item>
class Collection {
public:
    Collection(std::vector<std::shared_ptr<Item>> items, std::shared_ptr<Errors> errors)
        : items_(std::move(items)), errors_(std::move(errors)) {}

    std::size_t count() const { return items_.size(); }

    Status item(std::size_t index, std::shared_ptr<Item>& item) const {
        if (index >= items_.size()) {
            item.reset();
            return errors_->fail(ErrorNumber::ItemNotFound);
        }
        item = items_[index];
        return statusOk;
    }

private:
    std::vector<std::shared_ptr<Item>> items_;
    std::shared_ptr<Errors> errors_;
};

} // namespace mdbengine
