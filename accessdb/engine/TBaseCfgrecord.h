#pragma once

#include "accessdb/engine/FieldDesc.h"
#include "accessdb/engine/TBapiListItem.h"

#include <optional>
#include <string>
#include <vector>

namespace accessdb {

// One node of a session's configuration tree: its path (a database's ends in "DB INFO") and
// named values, each a zero-terminated text at its descriptor's offset in the value buffer.
class TBaseCfgrecord : public TBapiListItem {
public:
    TBaseCfgrecord(TBapiListItem* session, TTorvaneCollection* collection, const std::string& path,
                   const std::vector<FieldDesc>& fieldDescs, const std::vector<Byte>& values);

    const std::string& path() const { return path_; }
    void setPath(const std::string& path) { path_ = path; }
    // Takes copies of the descriptors and of the values (none: an empty buffer).
    void setFields(const std::vector<FieldDesc>& fieldDescs, const std::vector<Byte>& values);
    const std::vector<FieldDesc>& fieldDescs() const { return fieldDescs_; }
    const std::vector<Byte>& values() const { return values_; }
    // The sum of the descriptors' lengths.
    std::size_t valuesSize() const;
    // The value so named (exact name), when there is one and it lies in the buffer.
    std::optional<std::string> value(const std::string& name) const;

private:
    std::string path_;
    std::vector<FieldDesc> fieldDescs_;
    std::vector<Byte> values_;
};

} // namespace accessdb
