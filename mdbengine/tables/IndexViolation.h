#pragma once

#include <stdexcept>
#include <string>

namespace mdbengine::file {

// A change an index refuses: a key a unique index already holds, or a Null in a key that
// must have every column. Nothing was changed.
class IndexViolation : public std::runtime_error {
public:
    enum class Kind { Duplicate, Null };

    IndexViolation(Kind kind, std::string index)
        : std::runtime_error(kind == Kind::Duplicate ? "a key the index '" + index + "' holds"
                                                     : "a Null in the key of '" + index + "'"),
          kind_(kind), index_(std::move(index)) {}

    Kind kind() const { return kind_; }
    const std::string& index() const { return index_; }

private:
    Kind kind_;
    std::string index_;
};

} // namespace mdbengine::file
