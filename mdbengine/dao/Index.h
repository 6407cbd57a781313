#pragma once

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/IndexField.h"

#include <memory>
#include <string>
#include <vector>

namespace mdbengine {

// An index of a table: its name, kind and key columns.
class Index {
public:
    Index(std::string name, bool primary, bool unique, bool foreign,
          std::vector<std::shared_ptr<IndexField>> fields, std::shared_ptr<Errors> errors)
        : name_(std::move(name)), primary_(primary), unique_(unique), foreign_(foreign),
          fields_(std::move(fields)), errors_(std::move(errors)) {}

    const std::string& name() const { return name_; }
    Status rename(const std::string&) const {
        return errors_->fail(ErrorNumber::NotSupported, {}, noDesignChanges);
    }
    bool primary() const { return primary_; }
    bool unique() const { return unique_; }
    bool foreign() const { return foreign_; }
    Status fields(std::shared_ptr<Collection<IndexField>>& fields) const {
        fields = std::make_shared<Collection<IndexField>>(fields_, errors_);
        return statusOk;
    }

private:
    std::string name_;
    bool primary_;
    bool unique_;
    bool foreign_;
    std::vector<std::shared_ptr<IndexField>> fields_;
    std::shared_ptr<Errors> errors_;
};

} // namespace mdbengine
