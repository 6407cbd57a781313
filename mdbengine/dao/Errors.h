#pragma once

// The engine's Errors collection: the errors of the last call that failed. A new failure
// replaces them; a success leaves them as they are.

#include "mdbengine/values/Status.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mdbengine {

inline constexpr const char* noDesignChanges =
    "Tables, fields, indexes and queries cannot be renamed.";

struct Error {
    std::uint16_t number = 0;
    std::string description;
};

class Errors {
public:
    std::size_t count() const { return errors_.size(); }
    Status item(std::size_t index, Error& error) const;

    // Records the failure and answers its status. `subject` fills the description's
    // placeholder (a file or object name); `detail` is added as a sentence of its own.
    Status fail(ErrorNumber number, const std::string& subject = {},
                const std::string& detail = {});
    void clear() { errors_.clear(); }

    static std::string description(ErrorNumber number, const std::string& subject);

private:
    std::vector<Error> errors_;
};

} // namespace mdbengine
