#pragma once

#include "mdbengine/pages/FormatError.h"

#include <string>

namespace mdbengine::file {

// An index whose pages a change cannot go through (pointers that loop or lead astray),
// found before anything was written.
class DamagedIndex : public FormatError {
public:
    DamagedIndex(std::string index, std::string problem)
        : FormatError("the index '" + index + "' is damaged: " + problem), index_(std::move(index)),
          problem_(std::move(problem)) {}

    const std::string& index() const { return index_; }
    const std::string& problem() const { return problem_; }

private:
    std::string index_;
    std::string problem_;
};

} // namespace mdbengine::file
