#pragma once

// A stored query: its name and parameters from the catalogue, its SQL made from its rows
// in MSysQueries. Select, append, update and delete queries over one table run; the other
// kinds answer 3251 naming the query and its kind.

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/Parameter.h"
#include "mdbengine/tables/Catalog.h"

#include <cstdint>
#include <memory>
#include <string>

namespace mdbengine {

class DatabaseFile;
class Field;
class Recordset;

class QueryDef {
public:
    QueryDef(file::CatalogEntry entry, std::vector<std::shared_ptr<Parameter>> parameters,
             std::shared_ptr<DatabaseFile> file, std::shared_ptr<Errors> errors)
        : entry_(std::move(entry)), parameters_(std::move(parameters)), file_(std::move(file)),
          errors_(std::move(errors)) {}

    const std::string& name() const { return entry_.name; }
    Status rename(const std::string&) const {
        return errors_->fail(ErrorNumber::NotSupported, {}, noDesignChanges);
    }
    Status parameters(std::shared_ptr<Collection<Parameter>>& parameters) const;
    Status sql(std::string& text) const;
    // The fields of a select query's result (its parameters must have values); none for
    // the other kinds.
    Status fields(std::shared_ptr<Collection<Field>>& fields) const;
    // A select query's records; the other kinds answer 3219.
    Status openRecordset(int type, int options, std::shared_ptr<Recordset>& recordset) const;
    // Runs an append, update or delete query; a select query answers 3065.
    Status execute(std::int32_t& recordsAffected) const;

private:
    Status isSelect(bool& select) const;

    file::CatalogEntry entry_;
    std::vector<std::shared_ptr<Parameter>> parameters_;
    std::shared_ptr<DatabaseFile> file_;
    std::shared_ptr<Errors> errors_;
};

} // namespace mdbengine
