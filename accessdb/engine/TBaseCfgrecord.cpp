#include "accessdb/engine/TBaseCfgrecord.h"

namespace accessdb {

TBaseCfgrecord::TBaseCfgrecord(TBapiListItem* session, TTorvaneCollection* collection,
                               const std::string& path, const EngineParams& params)
    : TBapiListItem(session, collection), path_(path) {
    setFields(params);
}

void TBaseCfgrecord::setFields(const EngineParams& params) {
    params_.descs = params.descs;
    params_.values.assign(valuesSize(), 0);
    std::size_t n = std::min(params.values.size(), params_.values.size());
    std::copy(params.values.begin(), params.values.begin() + static_cast<std::ptrdiff_t>(n),
              params_.values.begin());
}

std::size_t TBaseCfgrecord::valuesSize() const {
    std::size_t size = 0;
    for (const FieldDesc& d : params_.descs)
        size += d.length;
    return size;
}

std::optional<std::string> TBaseCfgrecord::value(const std::string& name) const {
    int index = params_.find(name, true);
    if (index < 0 || params_.descs[index].offset >= params_.values.size())
        return std::nullopt;
    return params_.valueAt(static_cast<std::size_t>(index));
}

} // namespace accessdb
