#include "accessdb/engine/TBaseCfgrecord.h"

#include <cstring>

namespace accessdb {

TBaseCfgrecord::TBaseCfgrecord(TBapiListItem* session, TTorvaneCollection* collection,
                               const std::string& path, const std::vector<FieldDesc>& fieldDescs,
                               const std::vector<Byte>& values)
    : TBapiListItem(session, collection), path_(path) {
    setFields(fieldDescs, values);
}

void TBaseCfgrecord::setFields(const std::vector<FieldDesc>& fieldDescs,
                               const std::vector<Byte>& values) {
    fieldDescs_ = fieldDescs;
    values_.assign(valuesSize(), 0);
    if (!values.empty() && !values_.empty())
        std::memcpy(values_.data(), values.data(), std::min(values.size(), values_.size()));
}

std::size_t TBaseCfgrecord::valuesSize() const {
    std::size_t size = 0;
    for (const FieldDesc& d : fieldDescs_)
        size += d.length;
    return size;
}

std::optional<std::string> TBaseCfgrecord::value(const std::string& name) const {
    for (const FieldDesc& d : fieldDescs_) {
        if (d.name != name)
            continue;
        if (d.offset >= values_.size())
            return std::nullopt;
        return getText(values_.data(), d.offset, values_.size() - d.offset);
    }
    return std::nullopt;
}

} // namespace accessdb
