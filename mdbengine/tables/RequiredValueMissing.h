#pragma once

#include <stdexcept>
#include <string>

namespace mdbengine::file {

// A row that leaves a column whose Required property is set without a value. Nothing was
// changed.
class RequiredValueMissing : public std::runtime_error {
public:
    explicit RequiredValueMissing(std::string column)
        : std::runtime_error("no value for the required column '" + column + "'"),
          column_(std::move(column)) {}

    const std::string& column() const { return column_; }

private:
    std::string column_;
};

} // namespace mdbengine::file
