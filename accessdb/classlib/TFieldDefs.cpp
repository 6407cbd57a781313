#include "accessdb/classlib/TFieldDefs.h"

#include "accessdb/engine/EngineText.h"

namespace accessdb {

TFieldDef* TFieldDefs::find(const std::string& name) const {
    for (int i = 0; i < count(); ++i)
        if (equalsIgnoreCase(items(i).name, name))
            return &items(i);
    return nullptr;
}

TIndexDef* TIndexDefs::find(const std::string& name) const {
    for (int i = 0; i < count(); ++i)
        if (equalsIgnoreCase(items(i).name, name))
            return &items(i);
    return nullptr;
}

} // namespace accessdb
