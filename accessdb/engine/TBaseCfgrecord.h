#pragma once

#include "accessdb/engine/EngineParams.h"
#include "accessdb/engine/TBapiListItem.h"

#include <optional>
#include <string>

namespace accessdb {

// One node of a session's configuration tree: its path (a database's ends in "DB INFO") and
// named values.
class TBaseCfgrecord : public TBapiListItem {
public:
    TBaseCfgrecord(TBapiListItem* session, TTorvaneCollection* collection, const std::string& path,
                   const EngineParams& params);

    const std::string& path() const { return path_; }
    void setPath(const std::string& path) { path_ = path; }
    // Takes a copy of the parameters; the value buffer is sized by the descriptors' lengths.
    void setFields(const EngineParams& params);
    const EngineParams& params() const { return params_; }
    std::size_t valuesSize() const;
    // The value so named (exact name), when it lies in the buffer.
    std::optional<std::string> value(const std::string& name) const;

private:
    std::string path_;
    EngineParams params_;
};

} // namespace accessdb
