#pragma once

// A statement that cannot be read or run: the engine's error number, the subject its text
// names and a sentence that says what is wrong. The runner turns it into the engine's
// error.

#include "mdbengine/values/Status.h"

#include <stdexcept>
#include <string>

namespace mdbengine::sql {

class SqlError : public std::runtime_error {
public:
    SqlError(ErrorNumber number, std::string subject, std::string detail = {})
        : std::runtime_error(detail), number_(number), subject_(std::move(subject)),
          detail_(std::move(detail)) {}

    ErrorNumber number() const { return number_; }
    const std::string& subject() const { return subject_; }
    const std::string& detail() const { return detail_; }

private:
    ErrorNumber number_;
    std::string subject_;
    std::string detail_;
};

} // namespace mdbengine::sql
