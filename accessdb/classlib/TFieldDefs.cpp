#include "accessdb/classlib/TFieldDefs.h"

#include "accessdb/engine/EngineText.h"

namespace accessdb {

namespace {

// Definitions are found by name with letter case aside, as the engine compares names.
template <typename Item>
Item* findNamed(const TCollection<Item>& list, const std::string& name) {
    for (int i = 0; i < list.count(); ++i)
        if (equalsIgnoreCase(list.items(i).name, name))
            return &list.items(i);
    return nullptr;
}

} // namespace

TFieldDef* TFieldDefs::find(const std::string& name) const {
    return findNamed(*this, name);
}

TIndexDef* TIndexDefs::find(const std::string& name) const {
    return findNamed(*this, name);
}

} // namespace accessdb
