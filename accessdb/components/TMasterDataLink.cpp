#include "accessdb/components/TMasterDataLink.h"

#include "accessdb/engine/EngineText.h"

#include <algorithm>

namespace accessdb {

void TMasterDataLink::setFieldNames(const std::string& names) {
    if (names == fieldNames_)
        return;
    fieldNames_ = names;
    activeChanged();
}

void TMasterDataLink::findFields() {
    fields_.clear();
    if (!active())
        return;
    std::size_t start = 0;
    while (start <= fieldNames_.size()) {
        std::size_t end = std::min(fieldNames_.find(';', start), fieldNames_.size());
        std::string name = trimBlanks(fieldNames_.substr(start, end - start));
        if (!name.empty())
            fields_.push_back(&dataSet()->fieldByName(name));
        start = end + 1;
    }
}

void TMasterDataLink::activeChanged() {
    findFields();
    if (active())
        masterChanged();
    else if (onMasterDisable)
        onMasterDisable();
}

void TMasterDataLink::recordChanged(TField* field) {
    if (!field || std::find(fields_.begin(), fields_.end(), field) != fields_.end())
        masterChanged();
}

void TMasterDataLink::masterChanged() {
    if (active() && !fields_.empty() && onMasterChange)
        onMasterChange();
}

} // namespace accessdb
