#pragma once

// A stored query. Its name and parameters are read from the catalogue; running it needs an
// SQL engine, which this model does not have.

#include "platform/dao/Collection.h"
#include "platform/dao/Parameter.h"

#include <memory>
#include <string>

namespace platform::dao {

class Field;
class Recordset;

class QueryDef {
public:
    QueryDef(std::string name, std::vector<std::shared_ptr<Parameter>> parameters,
             std::shared_ptr<Errors> errors)
        : name_(std::move(name)), parameters_(std::move(parameters)), errors_(std::move(errors)) {}

    const std::string& name() const { return name_; }
    Status rename(const std::string&) const {
        return errors_->fail(ErrorNumber::NotSupported, {}, noDesignChanges);
    }
    Status parameters(std::shared_ptr<Collection<Parameter>>& parameters) const;
    // Answer 3251: the result columns and rows of a query come from running its SQL.
    Status fields(std::shared_ptr<Collection<Field>>& fields) const;
    Status openRecordset(int type, int options, std::shared_ptr<Recordset>& recordset) const;

private:
    std::string name_;
    std::vector<std::shared_ptr<Parameter>> parameters_;
    std::shared_ptr<Errors> errors_;
};

} // namespace platform::dao
