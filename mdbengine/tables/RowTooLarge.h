#pragma once

#include <stdexcept>

namespace mdbengine::file {

// A row that no page can hold.
class RowTooLarge : public std::runtime_error {
public:
    RowTooLarge() : std::runtime_error("the record does not fit a page") {}
};

} // namespace mdbengine::file
