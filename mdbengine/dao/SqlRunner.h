#pragma once

// Runs statements on a database: a select gives a recordset over its table (the rows it
// chose, in its order, under the names it gives the columns; read-only with DISTINCT); an
// insert, update or delete changes records through a recordset of the table, as a
// program would (AddNew, Edit, Delete and Update), so that every rule the recordset keeps
// applies. An action is whole or nothing: a failure on one record leaves the table as it
// was. Names that are no column of the table are parameters, given by name; one that is
// not given is error 3061.

#include "mdbengine/dao/Errors.h"
#include "mdbengine/values/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mdbengine {

class Database;
class Recordset;

using ParameterValues = std::vector<std::pair<std::string, Variant>>;

class SqlRunner {
public:
    SqlRunner(const Database& database, Errors& errors, ParameterValues parameters = {})
        : database_(database), errors_(errors), parameters_(std::move(parameters)) {}

    Status open(const std::string& statement, bool readOnly, std::shared_ptr<Recordset>& result);
    // Insert, update and delete; a select answers 3065.
    Status execute(const std::string& statement, std::int32_t& recordsAffected);

private:
    const Database& database_;
    Errors& errors_;
    ParameterValues parameters_;
};

} // namespace mdbengine
