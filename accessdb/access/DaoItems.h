#pragma once

// A collection of the engine, its items wrapped one by one.

#include "accessdb/access/DaoInterface.h"
#include "accessdb/access/TDAODynaCollection.h"
#include "mdbengine/dao/Collection.h"

namespace accessdb {

template <typename Item, typename ItemWrapper, typename Base = TDAODynaCollection>
class DaoItems : public DaoInterface<mdbengine::Collection<Item>, Base> {
public:
    using DaoInterface<mdbengine::Collection<Item>, Base>::DaoInterface;

    std::int16_t count() override {
        std::int32_t count = 0;
        this->invoke([&](auto& collection) {
            count = static_cast<std::int32_t>(collection.count());
            return mdbengine::statusOk;
        });
        return static_cast<std::int16_t>(count);
    }

    // The 0-based item, always a new wrapper.
    std::unique_ptr<ItemWrapper> item(std::int16_t index) {
        std::shared_ptr<Item> element;
        this->invoke([&](auto& collection) {
            return index < 0 ? collection.item(collection.count(), element)
                             : collection.item(static_cast<std::size_t>(index), element);
        });
        return std::make_unique<ItemWrapper>(std::move(element));
    }
};

} // namespace accessdb
